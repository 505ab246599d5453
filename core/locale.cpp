#include "core/locale.h"

#include "core/log.h"

namespace {

enum LocaleTag { TAG_LOCALE = 0, TAG_STR = 1, TAG_MAP = 2 };

} // namespace

std::string ToLower(const std::string& text) {
    std::string out = text;
    // Only A..Z change, whatever locale the process runs in.
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

YLocale::YLocale() {
    XMLTag tag;
    AddTag(XMLTag("locale"));
    AddTag(MakeTag(tag, "str", "name", "", nullptr));
    AddTag(MakeTag(tag, "map", "incoming", "", nullptr));
}

void YLocale::Load(const char* file) {
    strings_.clear();
    translations_.clear();
    file_ = file ? file : "";
    open_ = -1;
    XMLParser::Load(file);
    // A text without its closing tag stores nothing; say so, or a cut-off file goes unnoticed.
    if (open_ >= 0) ReportUnclosed();
}

void YLocale::ReportUnclosed() {
    OnError(open_ == TAG_STR ? "Tag <str> not closed." : "Tag <map> not closed.");
    open_ = -1;
}

void YLocale::OnTag(int id) {
    if (id != TAG_STR && id != TAG_MAP) return;
    if (open_ >= 0) ReportUnclosed();
    open_ = id;
}

std::string YLocale::GetString(const std::string& key) const {
    auto found = translations_.find(ToLower(key));
    return found == translations_.end() ? key : found->second;
}

void YLocale::OnCloseTag(int id) {
    if (id == TAG_STR || id == TAG_MAP) open_ = -1;
    switch (id) {
        case TAG_STR: strings_[tags[TAG_STR].attributes[0].value] = text; break;
        case TAG_MAP: translations_[ToLower(tags[TAG_MAP].attributes[0].value)] = text; break;
        default: break;
    }
}

bool YLocale::OnError(const char* message) {
    LogPrintf(g_Log, "Locale parser error, %s, file: %s, line: %d", message, file_.c_str(), line);
    return true;
}

YLocale& GetLocale() {
    static YLocale locale;
    return locale;
}
