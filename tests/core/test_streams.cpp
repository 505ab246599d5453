#include "core/streams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "support/temp_dir.h"

namespace {

class StreamsTest : public ::testing::Test {
protected:
    testsupport::TempDir dir;

    std::string WrittenBytes(const char* text) {
        std::string path = dir.File("s.bin");
        OutFStream out(path.c_str());
        WriteStreamString(out, text);
        EXPECT_TRUE(out.Close());
        return dir.Read("s.bin");
    }
};

TEST_F(StreamsTest, StreamStringsWriteLengthThenBytesAndReadBack) {
    struct Case {
        const char* text;
        std::string bytes;
    };
    const Case cases[] = {
        {"abc", std::string("\x03\x00"
                            "abc",
                            5)},
        {"", std::string("\x00\x00", 2)},
        {"\xff\x80 z", std::string("\x04\x00\xff\x80 z", 6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(WrittenBytes(c.text), c.bytes);

        std::string path = dir.File("s.bin");
        InFStream in(path.c_str());
        std::string text = "stale";
        ReadStreamString(in, text);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(in.Remaining(), 0);

        InFStream again(path.c_str());
        char buffer[8];
        std::memset(buffer, 'x', sizeof buffer);
        ReadStreamString(again, buffer, sizeof buffer);
        EXPECT_STREQ(buffer, c.text);
    }
}

TEST_F(StreamsTest, WriterCutsOverlongTextSoLengthMatchesBody) {
    std::string text(40000, 'q');
    std::string bytes = WrittenBytes(text.c_str());
    ASSERT_EQ(bytes.size(), 2u + 32767u);
    EXPECT_EQ(bytes.substr(0, 2), "\xff\x7f");

    std::string path = dir.File("s.bin");
    InFStream in(path.c_str());
    std::string back;
    ReadStreamString(in, back);
    EXPECT_EQ(back, std::string(32767, 'q'));
}

// Length fields a corrupt or hostile file may hold. Each string is followed by the marker "#", which
// must be the next byte read, and the buffer sits between guard bytes that must stay untouched.
TEST_F(StreamsTest, BoundedReadNeverLeavesTheBufferAndStaysInStep) {
    struct Case {
        const char* name;
        std::string file;
        std::size_t capacity;
        std::string expected;
        bool markerFollows;
    };
    const Case cases[] = {
        {"fits",
         std::string("\x03\x00"
                     "abc#",
                     6),
         4, "abc", true},
        {"longer than room",
         std::string("\x0a\x00"
                     "0123456789#",
                     13),
         4, "012", true},
        {"room for terminator only",
         std::string("\x03\x00"
                     "abc#",
                     6),
         1, "", true},
        {"no room at all",
         std::string("\x03\x00"
                     "abc#",
                     6),
         0, "", true},
        {"negative 0xFFFF", std::string("\xff\xff#", 3), 4, "", true},
        {"negative 0x8000", std::string("\x00\x80#", 3), 4, "", true},
        {"0x7FFF over a short file",
         std::string("\xff\x7f"
                     "abcdef",
                     8),
         4, "abc", false},
        {"header cut short", std::string("\x05", 1), 4, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.Write("s.bin", c.file);
        std::string path = dir.File("s.bin");
        InFStream in(path.c_str());

        char area[16 + 4 + 16];
        std::memset(area, 0x5A, sizeof area);
        char* buffer = area + 16;
        ReadStreamString(in, buffer, c.capacity);
        for (std::size_t i = 0; i < 16; ++i) ASSERT_EQ(area[i], 0x5A) << "before the buffer, byte " << i;
        for (std::size_t i = 16 + c.capacity; i < sizeof area; ++i)
            ASSERT_EQ(area[i], 0x5A) << "after the buffer, byte " << i;
        if (c.capacity > 0) {
            EXPECT_STREQ(buffer, c.expected.c_str());
        }

        char next = 0;
        in.Read(&next, 1);
        EXPECT_EQ(next == '#', c.markerFollows);
    }
}

TEST_F(StreamsTest, UnboundedReadOfNegativeOrShortLengths) {
    struct Case {
        const char* name;
        std::string file;
        std::string expected;
    };
    const Case cases[] = {
        {"negative",
         std::string("\xff\xff"
                     "abc",
                     5),
         ""},
        {"missing body",
         std::string("\x04\x00"
                     "ab",
                     4),
         std::string("ab\0\0", 4)},
        {"empty file", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.Write("s.bin", c.file);
        std::string path = dir.File("s.bin");
        InFStream in(path.c_str());
        std::string text = "stale";
        ReadStreamString(in, text);
        EXPECT_EQ(text, c.expected);
    }
}

TEST_F(StreamsTest, RemainingFollowsReadsSkipsAndRunningPastTheEnd) {
    dir.Write("ten.bin", "0123456789");
    std::string path = dir.File("ten.bin");
    InFStream in(path.c_str());
    EXPECT_EQ(in.Remaining(), 10);

    char buffer[8] = "-------";
    in.Read(buffer, 4);
    EXPECT_STREQ(buffer, "0123---");
    EXPECT_EQ(in.Remaining(), 6);
    in.Skip(5);
    EXPECT_EQ(in.Remaining(), 1);

    // Only "9" is left: it arrives, the rest of the buffer is kept and the stream fails.
    in.Read(buffer, 4);
    EXPECT_STREQ(buffer, "9123---");
    EXPECT_EQ(in.Remaining(), 11);
    in.Read(buffer, 1);
    EXPECT_STREQ(buffer, "9123---");
    EXPECT_EQ(in.Remaining(), 11);
}

TEST_F(StreamsTest, SkipPastTheEndFailsTheStream) {
    dir.Write("ten.bin", "0123456789");
    std::string path = dir.File("ten.bin");
    InFStream in(path.c_str());
    in.Skip(10);
    EXPECT_EQ(in.Remaining(), 0);
    in.Skip(1);
    EXPECT_EQ(in.Remaining(), 11);
}

TEST_F(StreamsTest, MissingFileReadsAsEmpty) {
    for (std::string path : {dir.File("absent.bin"), dir.Path().string()}) {
        SCOPED_TRACE(path);
        InFStream in(path.c_str());
        EXPECT_EQ(in.Remaining(), 0);
        char buffer[4] = "abc";
        in.Read(buffer, 3);
        in.Skip(2);
        EXPECT_STREQ(buffer, "abc");
        EXPECT_EQ(in.Remaining(), 0);
    }
}

TEST_F(StreamsTest, OutputReplacesTheFileOnlyWhenClosed) {
    dir.Write("out.bin", "old contents");
    std::string path = dir.File("out.bin");
    {
        OutFStream out(path.c_str());
        out.Write("new", 3);
        EXPECT_EQ(dir.Read("out.bin"), "old contents");
        EXPECT_TRUE(out.Close());
        EXPECT_EQ(dir.Read("out.bin"), "new");
        out.Write("lost", 4);
        EXPECT_TRUE(out.Close());
    }
    EXPECT_EQ(dir.Read("out.bin"), "new");
}

TEST_F(StreamsTest, DestructorPutsTheFileInPlace) {
    dir.Write("out.bin", "old contents");
    std::string path = dir.File("out.bin");
    { OutFStream out(path.c_str()); }
    EXPECT_TRUE(dir.Exists("out.bin"));
    EXPECT_EQ(dir.Read("out.bin"), ""); // opened and closed: truncated even with nothing written

    {
        OutFStream out(path.c_str());
        out.Write("abc", 3);
    }
    EXPECT_EQ(dir.Read("out.bin"), "abc");
}

TEST_F(StreamsTest, ExceptionWhileWritingKeepsTheOldFile) {
    dir.Write("out.bin", "old contents");
    std::string path = dir.File("out.bin");
    try {
        OutFStream out(path.c_str());
        out.Write("half", 4);
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {}
    EXPECT_EQ(dir.Read("out.bin"), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()), 1);
}

TEST_F(StreamsTest, WriteIntoMissingFolderReportsFailure) {
    std::string path = dir.File("no/such/folder/out.bin");
    OutFStream out(path.c_str());
    out.Write("abc", 3);
    EXPECT_FALSE(out.Close());
    EXPECT_FALSE(dir.Exists("no"));
}

} // namespace
