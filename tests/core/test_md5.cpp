#include "core/md5.h"

#include <string>

#include <gtest/gtest.h>

namespace {

std::string Hex(const uint8_t digest[16]) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (int i = 0; i < 16; ++i) {
        text += digits[digest[i] >> 4];
        text += digits[digest[i] & 15];
    }
    return text;
}

std::string Md5Hex(const std::string& data) {
    uint8_t digest[16];
    GetMD5(data.data(), data.size(), digest);
    return Hex(digest);
}

TEST(MD5, MatchesReferenceDigests) {
    const struct {
        std::string data;
        const char* digest;
    } cases[] = {
        // RFC 1321's test suite
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        // around the padding boundary: 56 and more bytes in the last block need an extra block
        {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
        {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
        {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
        {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
        {std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data.size());
        EXPECT_EQ(Md5Hex(c.data), c.digest);
    }
}

TEST(MD5, UpdateInPiecesEqualsUpdateOnce) {
    std::string data;
    for (int i = 0; i < 300; ++i) data += char(i * 7 + 3);
    const std::string whole = Md5Hex(data);

    for (std::size_t piece : {1u, 3u, 55u, 63u, 64u, 65u, 129u}) {
        SCOPED_TRACE(piece);
        CMD5Checksum md5;
        for (std::size_t at = 0; at < data.size(); at += piece)
            md5.Update(data.data() + at, std::min(piece, data.size() - at));
        md5.Update(nullptr, 0);
        uint8_t digest[16];
        md5.Final(digest);
        EXPECT_EQ(Hex(digest), whole);
    }
}

} // namespace
