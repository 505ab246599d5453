#include "core/log.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "platform/sys/files.h"

YLog g_Log;

namespace {

// Everything the log owns, built on first use so that lines logged during static start-up are kept.
struct LogState {
    std::mutex lock;
    FILE* file = nullptr;
    std::string pending;
    YLogEcho* console = nullptr;

    LogState() { file = plat::OpenFile("log.txt", "w"); }
    ~LogState() {
        if (file) std::fclose(file);
        file = nullptr;
    }
};

LogState& State() {
    static LogState state;
    return state;
}

void FormatInto(char (&buffer)[LOG_LINE_MAX], const char* format, va_list args) {
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (n < 0) buffer[0] = '\0';
}

} // namespace

void LogLine(const char* text) {
    LogState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    if (text) s.pending += text;
    if (s.file) {
        std::fwrite(s.pending.data(), 1, s.pending.size(), s.file);
        std::fputc('\n', s.file);
        std::fflush(s.file);
    }
    if (s.console) s.console->Print(s.pending);
    s.pending.clear();
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

void LogAppend(const char* text) {
    if (text) State().pending += text;
}

void LogAppendf(YLog&, const char* format, ...) {
    char buffer[LOG_LINE_MAX];
    va_list args;
    va_start(args, format);
    FormatInto(buffer, format, args);
    va_end(args);
    State().pending += buffer;
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

void LogReopen(const std::string& path) {
    LogState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.file) std::fclose(s.file);
    s.file = path.empty() ? nullptr : plat::OpenFile(path, "w");
    s.pending.clear();
}
