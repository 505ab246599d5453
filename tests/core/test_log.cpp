#include "core/log.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/sys/files.h"
#include "support/temp_dir.h"

namespace {

struct RecordingConsole : YLogEcho {
    std::vector<std::string> printed;
    void Print(const std::string& text) override { printed.push_back(text); }
};

class LogTest : public ::testing::Test {
protected:
    void SetUp() override { LogReopen(path()); }
    void TearDown() override {
        SetLogConsole(nullptr);
        LogReopen("");
    }
    std::string path() const { return (tmp_.path() / "log.txt").string(); }
    std::string Contents() const {
        std::string out;
        plat::ReadFile(path(), out, 1 << 24, false);
        return out;
    }
    TempDir tmp_;
};

} // namespace

TEST_F(LogTest, AppendsJoinTheNextLine) {
    LogAppend("a");
    LogAppendf(g_Log, "%s", "b");
    LogLine("c");
    LogPrintf(g_Log, "%d %s", 7, "x");
    EXPECT_EQ(Contents(), "abc\n7 x\n");
}

TEST_F(LogTest, EchoesToTheConsoleOnlyOnceOneExists) {
    RecordingConsole console;
    LogLine("before");
    SetLogConsole(&console);
    LogLine("x\ny");
    EXPECT_EQ(Contents(), "before\nx\ny\n");
    ASSERT_EQ(console.printed.size(), 1u);
    EXPECT_EQ(console.printed[0], "x\ny");
}

TEST_F(LogTest, OverlongFormattedLineIsCut) {
    std::string big(3000, 'q');
    LogPrintf(g_Log, "%s", big.c_str());
    LogAppendf(g_Log, "%s", big.c_str());
    LogLine("");
    EXPECT_EQ(Contents(), std::string(LOG_LINE_MAX - 1, 'q') + "\n" + std::string(LOG_LINE_MAX - 1, 'q') + "\n");
}

// A line built from pieces belongs to the thread that builds it: a line another thread logs in
// between neither takes those pieces nor loses its own text to them.
TEST_F(LogTest, PendingPiecesStayWithTheirThread) {
    LogAppend("part ");
    LogAppendf(g_Log, "%d ", 1);
    std::thread other([] {
        LogAppend("other ");
        LogLine("line");
    });
    other.join();
    LogLine("end");
    EXPECT_EQ(Contents(), "other line\npart 1 end\n");
}

TEST_F(LogTest, PendingLineIsBounded) {
    std::string kept;
    for (int i = 0; i < 5000; ++i) {
        LogAppend("ab");
        kept += "ab";
    }
    kept.resize(LOG_LINE_MAX - 1);
    LogLine("!");
    EXPECT_EQ(Contents(), kept + "!\n");
}

TEST_F(LogTest, LinesFromManyThreadsStayWhole) {
    constexpr int kThreads = 8, kLines = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i) LogPrintf("thread %d line %d end", t, i);
        });
    for (auto& th : threads) th.join();
    std::string text = Contents();
    std::set<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.insert(text.substr(start, nl - start));
    EXPECT_EQ(start, text.size());
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kLines));
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kLines; ++i)
            EXPECT_TRUE(lines.count("thread " + std::to_string(t) + " line " + std::to_string(i) + " end"));
}
