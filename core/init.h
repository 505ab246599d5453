#pragma once
// The configuration of the process: "config.yml" (and, for the game, "splash\config.yml" before it)
// read into typed fields that the rest of the program reads and writes directly, the game modes of
// "data\modes.yml" with each mode's progress, and the language folders "ui\*".
//
// Written form of "config.yml" (every attribute written; inner tags are never closed):
//   <config>
//     <video fullscreen="1" mode="800x600:32" double_buffer="1">
//     <window width="800" height="600" maximize="0">
//     <sound volume="1" music="1">
//     <render fps="0" shadows="1">
//     <interface language="english" showtips="1">
//     <game name="..." level="-1" scores="0" lives="0" player="" openLevels="0">   one per mode
//     <game ...>   then each entry read that names no known mode, as it was read
//   </config>
// "splash" tags (read, never written) add slides to the start-up slide show.
#include <functional>
#include <string>
#include <vector>

#include "core/color.h"
#include "core/file_list.h"
#include "core/game_mode.h"
#include "core/volume.h"
#include "core/xml_parser.h"

// What the configuration needs of the renderer; the renderer installs these at start.
struct YInitHooks {
    // Appends one slide to the start-up slide show. Empty: splash tags add nothing.
    std::function<void(const std::string& shader, const std::string& bgShader, const YColor& bgColor, float width,
                       float height)>
        addSplashSlide;
};
YInitHooks& InitHooks();

class Init : public XMLParser {
public:
    // Every field at its default; lists the language folders "ui\*".
    Init();

    // The first call (while no game mode is known) reads "data\modes.yml". Then reads `file` and
    // remembers it for Save; whether or not it could be read, the typed fields take the values of
    // the tags (those of a tag the file leaves out are its defaults; when the file cannot be read,
    // the values of the last load).
    void Load(const char* file);
    // Writes the typed fields and every mode's progress to the file last loaded, atomically, and
    // after them the "game" entries read that name no known mode (while "data\modes.yml" cannot
    // be read, that is every entry), so a damaged modes file never costs the player's progress.
    // False (logged, the old file kept) when it cannot be written or nothing was loaded yet.
    bool Save();

    // The folder of the selected language, e.g. "ui\english" (no trailing '\').
    std::string GetLanguagePath() const;

    // The first mode named exactly `name`, or nullptr.
    YGameMode* FindGameMode(const std::string& name);
    // The mode at currentGameMode. While that index names no mode (no modes were read), a record
    // with every default that is not saved.
    YGameMode& CurrentGameMode();

    // The file given to the last Load.
    std::string fileName;
    std::vector<YGameMode> gameModes;
    YFileList languages;

    bool fullscreen = true;
    bool maximize = false;
    bool fps = false;
    bool shadows = true;
    bool doubleBuffer = true;
    bool showTips = true;
    std::string videoMode = "800x600:32";
    int windowWidth = 800;
    int windowHeight = 600;
    float soundVolume = 1.0f; // 0..1
    float musicVolume = 1.0f; // 0..1
    int languageIndex = 0;    // position in `languages`
    int currentGameMode = 0;  // set by the game shell; not stored in the file

protected:
    void OnTag(int id) override;
    bool OnError(const char* message) override;

private:
    void CopyAttributesToFields();
    void KeepUnknownGame(const std::vector<XMLAttribute>& game);

    YGameMode fallbackMode_;
    // The attribute values of "game" entries that named no known mode when read, one per name
    // (a later entry replaces an earlier one), in the order first read.
    std::vector<std::vector<std::string>> unknownGames_;
};

// The configuration of the process, built with every default on first use.
Init& GetInit();
