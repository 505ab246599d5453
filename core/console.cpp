#include "core/console.h"

#include <algorithm>
#include <cctype>

#include "core/console_command.h"
#include "core/number_text.h"

YConsoleVertex YConsole::s_quad[4];

namespace {

YConsole* g_console = nullptr;

const std::string kPrompt = "=>";
const std::string kCursor = "_";

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

void SkipSpaces(const std::string& s, std::size_t& pos) {
    while (pos < s.size() && IsSpace(s[pos])) ++pos;
}

// A word runs up to white space or '=' (both left in place) or the end; a '[' takes everything up
// to and including the next ']' (or the end), white space and '=' included.
std::string ReadWord(const std::string& s, std::size_t& pos) {
    std::size_t start = pos;
    while (pos < s.size()) {
        char c = s[pos];
        if (c == '[') {
            std::size_t close = s.find(']', pos + 1);
            pos = close == std::string::npos ? s.size() : close + 1;
            continue;
        }
        if (IsSpace(c) || c == '=') break;
        ++pos;
    }
    return s.substr(start, pos - start);
}

} // namespace

YConsole::YConsole(YConsoleCommand* owner) : owner_(owner) {
    s_quad[0].u = 0.0f, s_quad[0].v = 0.0f;
    s_quad[1].u = 0.0f, s_quad[1].v = 1.0f;
    s_quad[2].u = 1.0f, s_quad[2].v = 1.0f;
    s_quad[3].u = 1.0f, s_quad[3].v = 0.0f;
    visible_.reserve(64);
    Update(0.0f);
    g_console = this;
    SetLogConsole(this);
}

YConsole::~YConsole() {
    // Once the log lets go of the console (under the log's lock) no other thread can be in Print.
    if (GetLogConsole() == this) SetLogConsole(nullptr);
    if (g_console == this) g_console = nullptr;
}

void YConsole::RegisterCommand(const std::string& name, int id) { commands_[name] = id; }

void YConsole::RegisterVariable(const std::string& name, int id) { variables_[name] = id; }

void YConsole::Print(const std::string& text) {
    std::lock_guard<std::mutex> guard(lock_);
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines_.emplace_back(text, start);
            break;
        }
        lines_.emplace_back(text, start, end - start);
        start = end + 1;
    }
    scrollIndex_ = -1;
    // Lines another thread logs meanwhile are not part of the answer.
    if (executing_ > 0 && std::this_thread::get_id() == executingThread_)
        answerIndex_ = static_cast<int>(lines_.size()) - 1;
}

float YConsole::EditLineWidth() const {
    if (!drawer_) return 0.0f;
    float width = 0.0f;
    for (char c : editLine_) width += drawer_->CharWidth(static_cast<unsigned char>(c));
    return width;
}

void YConsole::OnChar(int code) {
    if (code == 8) {
        if (!editLine_.empty()) editLine_.pop_back();
        return;
    }
    if (code == 13) {
        ExecuteLine();
        return;
    }
    if (code < 0 || code > 255) return;
    unsigned char c = static_cast<unsigned char>(code);
    if (!drawer_ || drawer_->CharWidth(c) == 0.0f) return;
    editLine_.push_back(static_cast<char>(c));
    if (EditLineWidth() > EDIT_WIDTH_MAX) editLine_.pop_back();
}

void YConsole::Execute(const std::string& text) {
    editLine_ = text;
    ExecuteLine();
}

void YConsole::ExecuteLine() {
    if (editLine_.empty()) return;
    // A handler may run another line through Execute, which replaces the edit line.
    const std::string line = editLine_;
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (executing_++ == 0) executingThread_ = std::this_thread::get_id();
    }
    std::size_t pos = 0;
    for (;;) {
        nameText_.clear();
        valueText_.clear();
        SkipSpaces(line, pos);
        std::string word = ReadWord(line, pos);
        if (word.empty()) break;
        SkipSpaces(line, pos);
        if (pos < line.size() && line[pos] == '=') {
            ++pos;
            auto found = variables_.find(word);
            if (found == variables_.end()) {
                Print("? '" + word + "'.");
                break;
            }
            SkipSpaces(line, pos);
            std::string value = ReadWord(line, pos);
            if (value.empty()) {
                Print("Error: missing value of variable.");
                break;
            }
            valueText_ = std::move(value);
            nameText_ = word + "=";
            if (owner_) owner_->SetVariable(found->second);
        } else {
            auto found = commands_.find(word);
            if (found == commands_.end()) {
                Print("? '" + word + "'.");
                break;
            }
            nameText_ = word;
            SkipSpaces(line, pos);
            valueText_ = ReadWord(line, pos);
            if (owner_) owner_->RunCommand(found->second);
        }
    }
    {
        std::lock_guard<std::mutex> guard(lock_);
        --executing_;
    }
    editLine_.clear();
}

void YConsole::Scroll(bool up) {
    int v = static_cast<int>(position / LINE_HEIGHT) - 3; // lines that fit on the panel
    if (v < 1) return;
    std::lock_guard<std::mutex> guard(lock_);
    int newest = static_cast<int>(lines_.size()) - 1;
    // -1 stands for the newest line; page from there, not from index -1.
    if (scrollIndex_ < 0) scrollIndex_ = newest;
    if (up)
        scrollIndex_ = std::min(std::max(scrollIndex_ - v, v), newest);
    else
        scrollIndex_ = std::min(scrollIndex_ + v, newest);
}

void YConsole::SetQuad(float p) {
    s_quad[0].x = 0.0f, s_quad[0].y = p - 600.0f;
    s_quad[1].x = 0.0f, s_quad[1].y = p;
    s_quad[2].x = 800.0f, s_quad[2].y = p;
    s_quad[3].x = 800.0f, s_quad[3].y = p - 600.0f;
    for (YConsoleVertex& corner : s_quad) corner.z = 0.0f;
}

void YConsole::Update(float seconds) {
    bool moved = false;
    if (!shown) {
        if (position > hiddenPosition) {
            position = std::max(hiddenPosition, position - seconds * SLIDE_SPEED);
            if (position == hiddenPosition) {
                std::lock_guard<std::mutex> guard(lock_);
                scrollIndex_ = -1;
            }
            moved = true;
        }
    } else if (position < SHOWN_POSITION) {
        position = std::min(SHOWN_POSITION, position + seconds * SLIDE_SPEED);
        moved = true;
    } else if (position != SHOWN_POSITION) {
        moved = true; // a panel above the shown position stays where it is
    }
    if (moved) SetQuad(position);

    if (position > 0.0f) {
        if (cursorOn_) {
            blinkTimer_ += seconds;
            if (blinkTimer_ > BLINK_PERIOD) cursorOn_ = false;
        } else {
            blinkTimer_ -= seconds;
            if (blinkTimer_ < 0.0f) cursorOn_ = true;
        }
    }
}

void YConsole::Draw() {
    if (position <= 0.0f) return;

    if (drawer_) {
        drawer_->DrawPanel(s_quad);
        float y = position - 4.0f;
        float x = drawer_->DrawText(3.0f, y, TEXT_SIZE, kPrompt) + 6.0f;
        float end = x + drawer_->DrawText(x, y, TEXT_SIZE, editLine_);
        if (cursorOn_) drawer_->DrawText(end + 1.0f, y, TEXT_SIZE, kCursor);
    }

    // Pick the lines under the lock, draw them without it.
    visible_.clear();
    {
        std::lock_guard<std::mutex> guard(lock_);
        int newest = static_cast<int>(lines_.size()) - 1;
        int index;
        if (!shown && hiddenPosition > 0.0f && answerIndex_ >= 0) {
            index = answerIndex_;
        } else {
            if (scrollIndex_ == -1) scrollIndex_ = newest;
            index = std::min(scrollIndex_, newest);
        }
        // The walk stops at the oldest line as well as at the top of the screen.
        for (float y = position - 28.0f; y > 0.0f && index >= 0; y -= LINE_HEIGHT, --index)
            visible_.push_back(&lines_[static_cast<std::size_t>(index)]);
    }
    if (!drawer_) return;
    float y = position - 28.0f;
    for (const std::string* line : visible_) {
        drawer_->DrawText(5.0f, y, TEXT_SIZE, *line);
        y -= LINE_HEIGHT;
    }
}

int YConsole::GetInt() const { return TextToInt(valueText_); }

float YConsole::GetFloat() const { return TextToFloat(valueText_); }

bool YConsole::GetBool() {
    if (valueText_ == "true" || valueText_ == "1") return true;
    if (valueText_ == "false" || valueText_ == "0") return false;
    Print("? '" + valueText_ + "'.");
    return false;
}

std::size_t YConsole::GetLineCount() const {
    std::lock_guard<std::mutex> guard(lock_);
    return lines_.size();
}

std::string YConsole::GetLine(std::size_t index) const {
    std::lock_guard<std::mutex> guard(lock_);
    return index < lines_.size() ? lines_[index] : std::string();
}

int YConsole::GetScrollIndex() const {
    std::lock_guard<std::mutex> guard(lock_);
    return scrollIndex_;
}

YConsole* GetConsole() { return g_console; }

YConsole* CreateGameConsole(YConsoleCommand* owner) {
    static YConsole* console = [owner] {
        static YConsole built(owner);
        built.RegisterCommand("exit", GAME_CMD_EXIT);
        built.RegisterCommand("open_all_levels", GAME_CMD_OPEN_ALL_LEVELS);
        built.RegisterVariable("fps", GAME_VAR_FPS);
        built.RegisterVariable("fullscreen", GAME_VAR_FULLSCREEN);
        built.RegisterVariable("video_mode", GAME_VAR_VIDEO_MODE);
        built.RegisterVariable("sound_volume", GAME_VAR_SOUND_VOLUME);
        built.RegisterVariable("music_volume", GAME_VAR_MUSIC_VOLUME);
        built.RegisterVariable("shadows", GAME_VAR_SHADOWS);
        built.RegisterVariable("showtips", GAME_VAR_SHOWTIPS);
        return &built;
    }();
    console->SetOwner(owner);
    return console;
}

YConsole* CreateEditorConsole(YConsoleCommand* owner) {
    static YConsole* console = [owner] {
        static YConsole built(owner);
        built.hiddenPosition = 45.0f;
        built.position = 600.0f;
        return &built;
    }();
    console->SetOwner(owner);
    return console;
}

const char* BoolToString(bool value) { return value ? "true" : "false"; }
