#pragma once
// The markup of every ".yml" data file: tags with attributes, closing tags, self-closing tags,
// comments, and text between tags with the entities &lt; &rt; &amp;. Nothing else (no
// declarations, processing instructions, CDATA or namespaces).
//
// A reader is a subclass of XMLParser that registers, in its constructor, the tags it accepts with
// every attribute and its default, and reacts to OnTag, OnCloseTag and OnError. The parser checks
// names against those tables, fills in attribute values, collects text and counts lines; nesting
// and the pairing of opening and closing tags are the subclass's business.
//
// The same tables write tags back (WriteTag, WriteOpenTag, WriteCloseTag; see xml_writer.cpp).
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One registered attribute. `value` is set to `defaultValue` before each occurrence of its tag and
// then replaced by what the file says.
struct XMLAttribute {
    std::string name;
    std::string value;
    std::string defaultValue;

    XMLAttribute() = default;
    XMLAttribute(std::string attrName, std::string def)
        : name(std::move(attrName)), value(def), defaultValue(std::move(def)) {}

    // atoi of the value, saturated to the int range instead of overflowing.
    int AsInt() const;
    // atof of the value, always in the "C" locale. Numbers too large or too small for a double
    // read as 0.
    float AsFloat() const;
    // AsInt() > 0: "1" and "2" are true; "0", "-1", "true" and "yes" are false.
    bool AsBool() const;

    // Writer side: replace the value text; the default stays.
    void SetBool(bool v);   // "1" / "0"
    void SetInt(int32_t v); // decimal
    void SetFloat(float v); // six significant digits, no trailing zeros ("1", "0.5", "0.333333")
};

// One registered tag. `id` is its position in the parser's tag table.
struct XMLTag {
    std::vector<XMLAttribute> attributes;
    std::string name;
    int32_t id = 0;

    XMLTag() = default;
    explicit XMLTag(std::string tagName) : name(std::move(tagName)) {}

    void AddAttribute(const std::string& attrName, const std::string& def);
    XMLAttribute* FindAttribute(std::string_view attrName);
    void ResetAttributes();
};

// Fills `tag` with `name` and the attribute pairs that follow (attribute name, default value, both
// C strings), ended by a null attribute name. The first pair is always taken. Any attributes the
// record held before are dropped, so one record may be reused for several tags.
//   MakeTag(tag, "pyramid", "name", "", "shader1", "pyr1", nullptr);
XMLTag& MakeTag(XMLTag& tag, const std::string& name, const char* attrName, const char* def, ...);

// Largest markup file Load accepts.
constexpr std::size_t XML_MAX_FILE_BYTES = 16u << 20;
// Errors of one parse that reach OnError one by one; the rest are counted and reported at the end
// of the parse as one more OnError, "<n> more errors not shown.".
constexpr int XML_ERROR_LINES = 10;

class XMLParser {
public:
    XMLParser() = default;
    virtual ~XMLParser() = default;

    // Registers a copy of `tag` with the id = number of tags registered before; returns the id.
    int AddTag(XMLTag tag);

    // Reads a file in text mode (CR LF as LF) and parses it. A missing, unreadable or oversized file
    // gets a log line and no callback; returns whether the file was parsed. A file that parses
    // without a fault but holds no tag (empty, or only comments and spaces) is logged as such.
    bool Load(const char* fileName);
    // Parses markup held in memory. Never throws; everything is reported through the callbacks,
    // except an input that ends inside a tag, comment, quoted value or entity: the callbacks hear
    // nothing of that construct, and one log line says where the input stopped.
    // A reader reads one input at a time: a Parse or Load started from one of its own callbacks is
    // refused with a log line, and the parse under way goes on.
    void Parse(std::string_view input);

    // Writer. Attributes are written when `writeAll` is set or their value differs from their
    // default. Nothing is indented and no line ends are written; the caller lays the file out.
    // Values are written between double quotes, or single quotes when they hold a double quote;
    // a value holding both kinds is written in double quotes with each '"' turned into '\''.
    void WriteTag(std::ostream& out, const XMLTag& tag, bool selfClose) const;
    void WriteOpenTag(std::ostream& out, int id) const;
    void WriteCloseTag(std::ostream& out, int id) const;
    void WriteTag(std::string& out, const XMLTag& tag, bool selfClose) const;
    void WriteOpenTag(std::string& out, int id) const;
    void WriteCloseTag(std::string& out, int id) const;

    // Line of the current (or last) parse, counted from 1: one more than the line feeds delivered
    // so far. While OnError runs for a fault the parser found, it is the line of that fault.
    int GetLine() const { return line; }

protected:
    // Delivers the next character of the input and counts line feeds. A character the parser puts
    // back is delivered (and counted) again. The first read past the end returns '\xFF' once; the
    // read after that ends the parse. An override must call this and return what it returned.
    virtual char ReadChar();
    virtual void OnTag(int id) {}
    virtual void OnCloseTag(int id) {}
    // A fault in the input, or a message thrown out of OnTag / OnCloseTag (a const char*, a
    // std::string or a std::exception). Return false to end the parse. Subclasses may also call it
    // for their own structure messages; that does not disturb the parse.
    virtual bool OnError(const char* message) { return true; }

    XMLTag* FindTag(std::string_view name);

    std::vector<XMLTag> tags;
    int32_t line = 0;
    bool writeAll = false;
    // Text read between tags, entities decoded.
    std::string text;

private:
    enum class State { Start = 0, TagOpen, Text, CloseTag, Comment, Resync, Special };

    void PutBack(char c);
    void SkipSpaces();
    std::string ReadName();
    std::string ReadQuoted();
    char DecodeEntity();
    void ReadTag();
    void RunStates(char& c, std::string& error);
    bool Run(std::string_view input, const char* source);

    State state_ = State::Start;
    XMLTag* currentTag_ = nullptr;
    bool clearText_ = true;

    // Input of the current parse with one pushback slot.
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
    bool parsing_ = false;
    bool atEnd_ = false; // the end marker has been delivered
    bool pushed_ = false;
    char pushedChar_ = 0;
    int32_t charLine_ = 1; // line of the last character delivered
    int tagsRead_ = 0;     // opening tags handed to OnTag in this parse
    // What the input was in the middle of, for the log line when it ends there.
    const char* construct_ = nullptr;
};
