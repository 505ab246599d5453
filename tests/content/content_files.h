#pragma once
// Where the content tests find the shipped files, and the font list that both the font and the
// shader tests read.
#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/xml_parser.h"

namespace content {

// A file of the assembled game folder, by the path the game names it with ('\' separated).
inline std::string GamePath(std::string_view relative) {
    return std::string(KORVELIN_GAME_DIR) + "\\" + std::string(relative);
}

// A file of the content sources under assets/ ('/' separated).
inline std::string SourcePath(std::string_view relative) {
    return std::string(KORVELIN_SOURCE_DIR) + "/assets/" + std::string(relative);
}

// The shipped level files of the game folder, in name order.
inline std::vector<std::string> ShippedLevels() {
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(std::string(KORVELIN_GAME_DIR) + "/levels", ec)) {
        if (e.path().extension() == ".lev") files.push_back(e.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

struct FontEntry {
    std::string name, shader, data;
};

// Reads "data\fonts.yml" with the same single tag as the game and keeps every error message with
// its line.
class FontListReader : public XMLParser {
public:
    FontListReader() {
        XMLTag t;
        AddTag(MakeTag(t, "font", "name", "", "shader", "", "data", "", nullptr));
    }
    std::vector<FontEntry> fonts;
    std::vector<std::string> errors;

protected:
    void OnTag(int) override {
        const XMLTag& t = tags[0];
        fonts.push_back({t.attributes[0].value, t.attributes[1].value, t.attributes[2].value});
    }
    bool OnError(const char* message) override {
        errors.push_back(std::to_string(GetLine()) + ": " + message);
        return true;
    }
};

// "fonts\sysfont.dat" -> "textures\fonts\sysfont.png": the glyph texture baked with the data,
// which the font's shader maps.
inline std::string AtlasFor(const std::string& data) {
    std::string stem = data.substr(data.find_last_of('\\') + 1);
    stem = stem.substr(0, stem.find_last_of('.'));
    return "textures\\fonts\\" + stem + ".png";
}

} // namespace content
