#pragma once
// Collects the log's lines while it lives (the log echoes each line to it).
#include <string>
#include <vector>

#include "core/log.h"

namespace bonustest {

class LogLines : public YLogEcho {
public:
    LogLines() : previous_(GetLogConsole()) { SetLogConsole(this); }
    ~LogLines() { SetLogConsole(previous_); }
    void Print(const std::string& text) override { lines.push_back(text); }
    bool Has(const std::string& part) const {
        for (const std::string& l : lines)
            if (l.find(part) != std::string::npos) return true;
        return false;
    }
    std::vector<std::string> lines;

private:
    YLogEcho* previous_;
};

} // namespace bonustest
