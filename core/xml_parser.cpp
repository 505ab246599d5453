#include "core/xml_parser.h"

#include <cstdarg>
#include <exception>

#include "core/log.h"
#include "core/number_text.h"
#include "platform/sys/files.h"

namespace {

// Thrown by ReadChar when the input is used up; the parse loop ends quietly on it. It is no
// std::exception, so the handlers for messages thrown out of callbacks never take it.
struct EndOfInput {};

// The C library's white space, fixed to the "C" locale. Bytes from 0x80 up are name characters.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Characters that end a name and stay in the input.
bool IsNameStop(char c) { return c == '&' || c == '/' || c == ';' || c == '<' || c == '=' || c == '>'; }

struct Entity {
    const char* name;
    char ch;
};
// "rt" stands for '>'; there is no "gt".
constexpr Entity kEntities[] = {{"lt", '<'}, {"rt", '>'}, {"amp", '&'}};

} // namespace

// ---------------------------------------------------------------------------------------------
// Records

int XMLAttribute::AsInt() const { return TextToInt(value); }

float XMLAttribute::AsFloat() const { return TextToFloat(value); }

bool XMLAttribute::AsBool() const { return AsInt() > 0; }

void XMLTag::AddAttribute(const std::string& attrName, const std::string& def) {
    attributes.emplace_back(attrName, def);
}

XMLAttribute* XMLTag::FindAttribute(std::string_view attrName) {
    for (XMLAttribute& a : attributes)
        if (a.name == attrName) return &a;
    return nullptr;
}

void XMLTag::ResetAttributes() {
    for (XMLAttribute& a : attributes) a.value = a.defaultValue;
}

XMLTag& MakeTag(XMLTag& tag, const std::string& name, const char* attrName, const char* def, ...) {
    tag.name = name;
    tag.attributes.clear();
    tag.AddAttribute(attrName ? attrName : "", def ? def : "");
    va_list args;
    va_start(args, def);
    for (;;) {
        const char* n = va_arg(args, const char*);
        if (!n) break;
        const char* d = va_arg(args, const char*);
        tag.AddAttribute(n, d ? d : "");
    }
    va_end(args);
    return tag;
}

int XMLParser::AddTag(XMLTag tag) {
    tag.id = static_cast<int32_t>(tags.size());
    tags.push_back(std::move(tag));
    currentTag_ = nullptr;
    return tags.back().id;
}

XMLTag* XMLParser::FindTag(std::string_view name) {
    currentTag_ = nullptr;
    for (XMLTag& t : tags) {
        if (t.name == name) {
            currentTag_ = &t;
            break;
        }
    }
    return currentTag_;
}

// ---------------------------------------------------------------------------------------------
// Input

char XMLParser::ReadChar() {
    if (!parsing_) return '\xFF';
    if (atEnd_) throw EndOfInput{};
    char c;
    if (pushed_) {
        pushed_ = false;
        c = pushedChar_;
    } else if (pos_ < size_) {
        c = data_[pos_++];
    } else {
        // The first read past the end hands out the end marker once, as a stream's get() did.
        atEnd_ = true;
        c = '\xFF';
    }
    charLine_ = line;
    if (c == '\n') ++line;
    return c;
}

// Putting back the end marker is a no-op, so the next read ends the parse instead of handing the
// marker out a second time.
void XMLParser::PutBack(char c) {
    if (atEnd_) return;
    pushed_ = true;
    pushedChar_ = c;
}

void XMLParser::SkipSpaces() {
    for (;;) {
        char c = ReadChar();
        if (!IsSpace(c)) {
            PutBack(c);
            return;
        }
    }
}

// A name ends before one of & / ; < = > (left in the input) or at white space (consumed).
std::string XMLParser::ReadName() {
    std::string name;
    for (;;) {
        char c = ReadChar();
        if (IsNameStop(c)) {
            PutBack(c);
            return name;
        }
        if (IsSpace(c)) return name;
        name += c;
    }
}

// Everything up to the matching quote, raw: no escapes, no entities.
std::string XMLParser::ReadQuoted() {
    const char* outer = construct_;
    construct_ = "quoted value";
    const char quote = ReadChar();
    std::string value;
    for (;;) {
        char c = ReadChar();
        if (c == quote) break;
        value += c;
    }
    construct_ = outer;
    return value;
}

char XMLParser::DecodeEntity() {
    construct_ = "entity";
    std::string name = ReadName();
    if (ReadChar() != ';') throw std::string("Expected ';'");
    construct_ = nullptr;
    for (const Entity& e : kEntities)
        if (name == e.name) return e.ch;
    throw "Unknown character &" + name + ";";
}

// ---------------------------------------------------------------------------------------------
// Grammar

// The rest of an opening tag after '<': its name and the attribute loop.
void XMLParser::ReadTag() {
    SkipSpaces();
    std::string name = ReadName();
    if (!FindTag(name)) throw "Unknown tag: " + name;
    const int id = currentTag_->id;
    currentTag_->ResetAttributes();
    for (;;) {
        SkipSpaces();
        char c = ReadChar();
        if (c == '/') {
            if (ReadChar() != '>') throw std::string("Expected '>' after '/'.");
            construct_ = nullptr;
            state_ = State::Text;
            ++tagsRead_;
            OnTag(id);
            text.clear();
            OnCloseTag(id);
            return;
        }
        if (c == '>') {
            construct_ = nullptr;
            state_ = State::Text;
            ++tagsRead_;
            OnTag(id);
            return;
        }
        PutBack(c);
        std::string attrName = ReadName();
        XMLAttribute* attr = tags[id].FindAttribute(attrName);
        if (!attr) throw "Unknown attribute: " + attrName + " of tag: " + tags[id].name;
        SkipSpaces();
        if (ReadChar() != '=') throw std::string("Expected '='.");
        SkipSpaces();
        char first = ReadChar();
        PutBack(first);
        attr->value = (first == '"' || first == '\'') ? ReadQuoted() : ReadName();
    }
}

// Runs the state machine from `c` until the input ends (EndOfInput), a message is thrown, or a
// stray character outside any tag is met; that last case returns with `error` set, so that junk
// between tags is reported without the cost of an exception per byte.
void XMLParser::RunStates(char& c, std::string& error) {
    for (;;) {
        switch (state_) {
            case State::Start:
            case State::Resync:
                if (c != '<') {
                    // The end marker outside any tag: the read that reports it would end the parse.
                    if (atEnd_) throw EndOfInput{};
                    error = "Expected '<'.";
                    return;
                }
                state_ = State::TagOpen;
                break;

            case State::TagOpen: {
                construct_ = "tag";
                char next = ReadChar();
                if (next == '!') {
                    construct_ = "comment";
                    state_ = State::Special;
                } else if (next == '/') {
                    construct_ = "closing tag";
                    state_ = State::CloseTag;
                } else {
                    PutBack(next);
                    ReadTag();
                }
                break;
            }

            case State::Text:
                if (clearText_ && !text.empty()) text.clear();
                for (;;) {
                    char t = ReadChar();
                    if (t == '&') {
                        text += DecodeEntity();
                    } else if (t == '<') {
                        state_ = State::TagOpen;
                        clearText_ = true;
                        break;
                    } else {
                        text += t;
                    }
                }
                break;

            case State::CloseTag: {
                SkipSpaces();
                std::string name = ReadName();
                if (!FindTag(name)) throw "Unknown tag: " + name;
                OnCloseTag(currentTag_->id);
                SkipSpaces();
                if (ReadChar() != '>') throw std::string("Expected '>'.");
                construct_ = nullptr;
                state_ = State::Text;
                break;
            }

            case State::Comment: {
                int dashes = 0;
                for (;;) {
                    char t = ReadChar();
                    if (t == '-') {
                        if (dashes < 2) ++dashes;
                    } else if (t == '>' && dashes == 2) {
                        break;
                    } else {
                        dashes = 0;
                    }
                }
                construct_ = nullptr;
                state_ = State::Text;
                clearText_ = false;
                break;
            }

            case State::Special:
                if (ReadChar() != '-') throw std::string("Invalid special '!'.");
                if (ReadChar() != '-') throw std::string("Expected '--'.");
                state_ = State::Comment;
                break;
        }
    }
}

bool XMLParser::Load(const char* fileName) {
    if (!fileName) return false;
    std::string content;
    switch (plat::ReadFile(fileName, content, XML_MAX_FILE_BYTES, /*textMode*/ true)) {
        case plat::ReadStatus::Ok: break;
        case plat::ReadStatus::Missing: LogPrintf(g_Log, "Markup file not found: %s", fileName); return false;
        case plat::ReadStatus::TooLarge:
            LogPrintf(g_Log, "Markup file larger than %zu bytes, not read: %s", XML_MAX_FILE_BYTES, fileName);
            return false;
        case plat::ReadStatus::Error: LogPrintf(g_Log, "Markup file could not be read: %s", fileName); return false;
    }
    return Run(content, fileName);
}

void XMLParser::Parse(std::string_view input) { Run(input, nullptr); }

bool XMLParser::Run(std::string_view input, const char* source) {
    const std::string where = source ? std::string("file ") + source : std::string("input");
    if (parsing_) {
        // Taking the new input would leave the parse under way reading an input that is gone,
        // for ever; the new one is refused instead.
        LogPrintf(g_Log, "Markup %s not read: its reader is still reading another", where.c_str());
        return false;
    }
    data_ = input.data();
    size_ = input.size();
    pos_ = 0;
    parsing_ = true;
    atEnd_ = false;
    pushed_ = false;
    construct_ = nullptr;
    tagsRead_ = 0;
    line = 1;
    charLine_ = 1;
    state_ = State::Start;
    for (XMLTag& t : tags) t.ResetAttributes();
    clearText_ = true;
    currentTag_ = nullptr;

    std::string error;
    int32_t errorLine = 1; // line of the character at which `error` was raised
    int errors = 0;        // errors raised in this parse
    // Hands a raised error to OnError with the line of its fault; past the first few of a parse,
    // errors are only counted, so that a file of junk cannot flood the log.
    auto report = [&](bool always) -> bool {
        if (++errors > XML_ERROR_LINES && !always) return true;
        const int32_t now = line;
        line = errorLine;
        const bool goOn = OnError(error.c_str());
        line = now;
        return goOn;
    };
    bool pending = false; // `error` is raised and not yet handed to OnError
    bool lost = false;    // the input ended before a raised error could be reported
    bool started = false;
    char c = 0;
    try {
        for (;;) {
            try {
                if (!started) {
                    started = true;
                    SkipSpaces();
                    c = ReadChar();
                }
                if (pending) {
                    // Recovery reads one character before reporting, so a message's line may be
                    // one past the fault. When that read ends the input, OnError never hears of
                    // the message; it goes to the log below instead.
                    state_ = State::Resync;
                    construct_ = nullptr;
                    lost = true;
                    c = ReadChar();
                    lost = false;
                    pending = false;
                    if (!report(false)) break;
                }
                RunStates(c, error);
                errorLine = charLine_;
                pending = true;
            } catch (const std::string& message) {
                error = message;
                errorLine = charLine_;
                pending = true;
            } catch (const char* message) {
                error = message ? message : "";
                errorLine = charLine_;
                pending = true;
            } catch (const std::exception& e) {
                error = e.what();
                errorLine = charLine_;
                pending = true;
            }
        }
    } catch (const EndOfInput&) {}

    parsing_ = false;
    data_ = nullptr;
    size_ = pos_ = 0;
    pushed_ = false;

    // One line for all the errors that were not reported one by one.
    if (errors > XML_ERROR_LINES) {
        error = std::to_string(errors - XML_ERROR_LINES) + " more errors not shown.";
        errorLine = line;
        report(true);
    }

    // The callbacks hear nothing of an input that stops in the middle of a construct; say so in
    // the log, so that a cut-off file does not go unnoticed.
    if (lost)
        LogPrintf(g_Log, "Markup %s ends after an error: %s, line: %d", where.c_str(), error.c_str(), errorLine);
    else if (construct_)
        LogPrintf(g_Log, "Markup %s ends inside an unfinished %s, line: %d", where.c_str(), construct_, line);
    else if (source && tagsRead_ == 0 && errors == 0)
        // Nothing in it and nothing wrong with it: an empty file would otherwise pass unnoticed.
        LogPrintf(g_Log, "Markup %s holds no tags", where.c_str());
    construct_ = nullptr;
    return true;
}
