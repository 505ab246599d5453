// Writing tags back from the registered tag tables. Typed values become text when they are stored;
// printing copies the text. The caller decides the order of tags, line ends and indentation, and
// puts the result in place (e.g. with plat::WriteFileAtomic).
#include <ostream>

#include "core/number_text.h"
#include "core/xml_parser.h"

namespace {

// The reader takes quoted values raw, so a value is put in the quote kind it does not hold: double
// quotes as a rule, single quotes for a value holding '"'. A value holding both kinds cannot be
// quoted at all; it is written in double quotes with each '"' turned into '\'', so the value loses
// that distinction but the rest of the file still reads.
void AppendQuoted(std::string& out, const std::string& value) {
    const bool hasDouble = value.find('"') != std::string::npos;
    if (!hasDouble) {
        out += '"';
        out += value;
        out += '"';
    } else if (value.find('\'') == std::string::npos) {
        out += '\'';
        out += value;
        out += '\'';
    } else {
        out += '"';
        for (char c : value) out += c == '"' ? '\'' : c;
        out += '"';
    }
}

} // namespace

void XMLAttribute::SetBool(bool v) { value.assign(1, v ? '1' : '0'); }

void XMLAttribute::SetInt(int32_t v) { value = std::to_string(v); }

void XMLAttribute::SetFloat(float v) { value = FloatToText(v); }

void XMLParser::WriteTag(std::string& out, const XMLTag& tag, bool selfClose) const {
    out += '<';
    out += tag.name;
    for (const XMLAttribute& a : tag.attributes) {
        if (!writeAll && a.value == a.defaultValue) continue;
        out += ' ';
        out += a.name;
        out += '=';
        AppendQuoted(out, a.value);
    }
    if (selfClose) out += '/';
    out += '>';
}

void XMLParser::WriteOpenTag(std::string& out, int id) const {
    if (id < 0 || static_cast<std::size_t>(id) >= tags.size()) return;
    WriteTag(out, tags[id], false);
}

void XMLParser::WriteCloseTag(std::string& out, int id) const {
    if (id < 0 || static_cast<std::size_t>(id) >= tags.size()) return;
    out += "</";
    out += tags[id].name;
    out += '>';
}

void XMLParser::WriteTag(std::ostream& out, const XMLTag& tag, bool selfClose) const {
    std::string text;
    WriteTag(text, tag, selfClose);
    out << text;
}

void XMLParser::WriteOpenTag(std::ostream& out, int id) const {
    std::string text;
    WriteOpenTag(text, id);
    out << text;
}

void XMLParser::WriteCloseTag(std::ostream& out, int id) const {
    std::string text;
    WriteCloseTag(text, id);
    out << text;
}
