#include "core/crypt_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/streams.h"
#include "support/temp_dir.h"

namespace {

const std::string kPlain = "The quick brown fox!"; // 20 bytes, more than two turns of the key

class CryptStreamTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    std::string path = dir.File("scores.dat");

    // Writes `plain` enciphered in pieces of the given sizes.
    std::string WriteInPieces(const std::string& plain, const std::vector<int>& pieces) {
        OutFStream file(path.c_str());
        OutCryptStream out(file, SCORE_FILE_KEY);
        std::size_t at = 0;
        for (int n : pieces) {
            out.Write(plain.data() + at, n);
            at += static_cast<std::size_t>(n);
        }
        EXPECT_TRUE(file.Close());
        return dir.Read("scores.dat");
    }
};

TEST_F(CryptStreamTest, ZerosComeOutAsTheKeyRepeated) {
    std::string stored = WriteInPieces(std::string(20, '\0'), {20});
    EXPECT_EQ(stored, "PLOVERKITPLOVERKITPL");
}

TEST_F(CryptStreamTest, PiecesMatchOneWriteAndReadBackInAnyPieces) {
    const std::string whole = WriteInPieces(kPlain, {20});
    ASSERT_EQ(whole.size(), kPlain.size());
    EXPECT_NE(whole, kPlain);
    const std::vector<std::vector<int>> splits = {{3, 7, 10}, {1, 1, 18}, {9, 9, 2}, {20}};
    for (const auto& split : splits) EXPECT_EQ(WriteInPieces(kPlain, split), whole);

    for (const auto& split : splits) {
        InFStream file(path.c_str());
        InCryptStream in(file, SCORE_FILE_KEY);
        std::string back(kPlain.size(), '?');
        std::size_t at = 0;
        for (int n : split) {
            in.Read(back.data() + at, n);
            at += static_cast<std::size_t>(n);
        }
        EXPECT_EQ(back, kPlain);
        EXPECT_EQ(in.Remaining(), 0);
    }
}

TEST_F(CryptStreamTest, CallersBufferStaysPlain) {
    OutFStream file(path.c_str());
    OutCryptStream out(file, SCORE_FILE_KEY);
    std::string buffer = kPlain;
    out.Write(buffer.data(), static_cast<int32_t>(buffer.size()));
    EXPECT_EQ(buffer, kPlain);
}

// The key starts where the wrapper is made: a plain header may come before the enciphered body,
// and stream strings travel through the wrappers like any other bytes.
TEST_F(CryptStreamTest, KeyStartsWhereTheWrapperIsMade) {
    {
        OutFStream file(path.c_str());
        WriteStreamString(file, "head");
        OutCryptStream out(file, SCORE_FILE_KEY);
        WriteStreamString(out, "player one");
        WriteStreamString(out, "x");
        EXPECT_TRUE(file.Close());
    }
    InFStream file(path.c_str());
    std::string head, name, other;
    ReadStreamString(file, head);
    InCryptStream in(file, SCORE_FILE_KEY);
    char small[4];
    ReadStreamString(in, small, sizeof small); // cut short: the dropped tail must still turn the key
    ReadStreamString(in, other);
    EXPECT_EQ(head, "head");
    EXPECT_STREQ(small, "pla");
    EXPECT_EQ(other, "x");
}

TEST_F(CryptStreamTest, ShortReadStillTurnsTheKeyByTheWholeCount) {
    dir.Write("scores.dat", "");
    InFStream file(path.c_str());
    InCryptStream in(file, SCORE_FILE_KEY);
    std::string buffer(6, '\0');
    in.Read(buffer.data(), 6); // nothing arrives; the zeros are deciphered into key bytes
    EXPECT_EQ(buffer, "PLOVER");
    std::string next(3, '\0');
    in.Read(next.data(), 3);
    EXPECT_EQ(next, "KIT");
}

TEST_F(CryptStreamTest, SkipAndRemainingGoToTheInnerStreamWithoutTurningTheKey) {
    WriteInPieces(kPlain, {20});
    InFStream file(path.c_str());
    InCryptStream in(file, SCORE_FILE_KEY);
    EXPECT_EQ(in.Remaining(), 20);
    in.Skip(2); // bytes 2 and 3 were enciphered with "OV"; the reader's key is still at "PL"
    EXPECT_EQ(in.Remaining(), 18);
    std::string rest(2, '\0');
    in.Read(rest.data(), 2);
    std::string expected = {static_cast<char>(kPlain[2] ^ 'O' ^ 'P'), static_cast<char>(kPlain[3] ^ 'V' ^ 'L')};
    EXPECT_EQ(rest, expected);
}

} // namespace
