#pragma once
// The log: "log.txt" in the working directory, one line at a time, each flushed at once and echoed
// to the text console when one exists. It is built on first use, so readers that run during static
// start-up can log before main.
#include <string>

// What the log echoes its lines to: the text console. Print gets the whole line (which may hold
// '\n') under the log lock, so it must not log; it may be called from any thread.
class YLogEcho {
public:
    virtual void Print(const std::string& text) = 0;

protected:
    ~YLogEcho() = default;
};

// The log object. Its first use opens "log.txt" (truncated). Functions that take it ignore it; it
// exists so that call sites read as they always have: LogPrintf(g_Log, "...", ...).
struct YLog {};
extern YLog g_Log;

// A formatted line is at most LOG_LINE_MAX - 1 characters; longer results are cut.
constexpr int LOG_LINE_MAX = 1024;

// Writes the calling thread's pending text and `text` as one line. Any thread.
void LogLine(const char* text);
void LogPrintf(YLog& log, const char* format, ...) __attribute__((format(printf, 2, 3)));
void LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Add to the calling thread's pending line without writing it; that thread's next LogLine writes it.
// Lines other threads log meanwhile are not affected. The pending line holds LOG_LINE_MAX - 1
// characters at most; more are cut.
void LogAppend(const char* text);
void LogAppendf(YLog& log, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The console that lines are echoed to, or nullptr.
void SetLogConsole(YLogEcho* console);
YLogEcho* GetLogConsole();

// Opens the log on `path`, truncated, or appended to with `append` (a copy of the program that is
// not alone must not cut short the log of a copy running in the same folder). Used before the
// log's first use, the log never opens "log.txt" itself.
void LogOpen(const std::string& path, bool append);

// Tests: reopen the log on another file (truncating it); an empty path closes it.
void LogReopen(const std::string& path);
