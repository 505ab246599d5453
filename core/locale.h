#pragma once
// The texts of the selected language, read from the "locale.yml" of its folder:
//   <locale>
//     <str name="bonus_fire">Fire ball</str>          named texts, looked up by exact key
//     <map incoming="New game">Neues Spiel</map>      translations of page texts, keys lower-cased
//   </locale>
// A text is what stands between the opening and the closing tag, entities decoded, white space kept.
#include <map>
#include <string>

#include "core/xml_parser.h"

class YLocale : public XMLParser {
public:
    YLocale();

    // Empties both tables, then reads `file`. A file that cannot be read leaves them empty.
    void Load(const char* file);

    // The translation of `key` (looked up lower-cased); the key itself, unchanged, when there is none.
    std::string GetString(const std::string& key) const;
    void GetString(std::string* out, const std::string& key) const { *out = GetString(key); }

    // The named text stored under exactly `key`. A missing key gets an empty entry, which is returned.
    std::string& Str(const std::string& key) { return strings_[key]; }

    std::size_t StrCount() const { return strings_.size(); }
    std::size_t MapCount() const { return translations_.size(); }

protected:
    void OnTag(int id) override;
    void OnCloseTag(int id) override;
    bool OnError(const char* message) override;

private:
    void ReportUnclosed();

    std::string file_;
    int open_ = -1; // the "str" or "map" read last, until its closing tag
    std::map<std::string, std::string> strings_;
    std::map<std::string, std::string> translations_;
};

// The one locale of the process, empty until loaded.
YLocale& GetLocale();

// `text` with every byte A..Z lower-cased (the "C" locale's tolower); other bytes stay.
std::string ToLower(const std::string& text);
