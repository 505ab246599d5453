#include "core/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/sys/files.h"

YLog g_Log;

namespace {

// Whether the log's first use opens "log.txt" itself; LogOpen, used first, opens it as it asks.
bool g_openOnFirstUse = true;

// Everything the log owns, built on first use so that lines logged during static start-up are kept.
struct LogState {
    std::mutex lock;
    FILE* file = nullptr;
    YLogEcho* console = nullptr;

    LogState() { file = g_openOnFirstUse ? plat::OpenFile("log.txt", "w") : nullptr; }
    ~LogState() {
        if (file) std::fclose(file);
        file = nullptr;
    }
};

LogState& State() {
    static LogState state;
    return state;
}

// The line being built with LogAppend. Each thread has its own, so that a line another thread logs
// meanwhile neither takes the pieces nor touches them while they are written. It is a plain array
// (no destructor), so destructors that log while the program ends still find it; pieces beyond
// LOG_LINE_MAX - 1 characters are cut, as a formatted line is.
struct PendingLine {
    char text[LOG_LINE_MAX];
    std::size_t size;
};
thread_local PendingLine t_pending;

void AppendPending(const char* text) {
    if (!text) return;
    PendingLine& p = t_pending;
    const std::size_t room = sizeof p.text - 1 - p.size;
    std::size_t n = 0;
    while (n < room && text[n]) ++n;
    std::memcpy(p.text + p.size, text, n);
    p.size += n;
}

void FormatInto(char (&buffer)[LOG_LINE_MAX], const char* format, va_list args) {
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (n < 0) buffer[0] = '\0';
}

} // namespace

void LogLine(const char* text) {
    PendingLine& p = t_pending;
    std::string line(p.text, p.size);
    p.size = 0;
    if (text) line += text;
    LogState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.file) {
        std::fwrite(line.data(), 1, line.size(), s.file);
        std::fputc('\n', s.file);
        std::fflush(s.file);
    }
    if (s.console) s.console->Print(line);
}

void LogPrintf(YLog&, const char* format, ...) {
    char buffer[LOG_LINE_MAX];
    va_list args;
    va_start(args, format);
    FormatInto(buffer, format, args);
    va_end(args);
    LogLine(buffer);
}

void LogPrintf(const char* format, ...) {
    char buffer[LOG_LINE_MAX];
    va_list args;
    va_start(args, format);
    FormatInto(buffer, format, args);
    va_end(args);
    LogLine(buffer);
}

void LogAppend(const char* text) { AppendPending(text); }

void LogAppendf(YLog&, const char* format, ...) {
    char buffer[LOG_LINE_MAX];
    va_list args;
    va_start(args, format);
    FormatInto(buffer, format, args);
    va_end(args);
    AppendPending(buffer);
}

void SetLogConsole(YLogEcho* console) {
    LogState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    s.console = console;
}

YLogEcho* GetLogConsole() {
    LogState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.console;
}

void LogOpen(const std::string& path, bool append) {
    g_openOnFirstUse = false;
    LogState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.file) std::fclose(s.file);
    s.file = plat::OpenFile(path, append ? "a" : "w");
    t_pending.size = 0;
}

void LogReopen(const std::string& path) {
    LogState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.file) std::fclose(s.file);
    s.file = path.empty() ? nullptr : plat::OpenFile(path, "w");
    t_pending.size = 0;
}
