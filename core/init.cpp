#include "core/init.h"

#include <algorithm>

#include "core/log.h"
#include "platform/sys/files.h"

namespace {

enum InitTag {
    TAG_CONFIG = 0,
    TAG_VIDEO = 1,
    TAG_WINDOW = 2,
    TAG_SOUND = 3,
    TAG_RENDER = 4,
    TAG_SPLASH = 5,
    TAG_INTERFACE = 6,
    TAG_GAME = 7,
};

// Attribute positions, in registration order.
enum VideoAttr { VIDEO_FULLSCREEN, VIDEO_MODE, VIDEO_DOUBLE_BUFFER };
enum WindowAttr { WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_MAXIMIZE };
enum SoundAttr { SOUND_VOLUME, SOUND_MUSIC };
enum RenderAttr { RENDER_FPS, RENDER_SHADOWS };
enum SplashAttr { SPLASH_SHADER, SPLASH_BGSHADER, SPLASH_BGCOLOR, SPLASH_WIDTH, SPLASH_HEIGHT };
enum InterfaceAttr { INTERFACE_LANGUAGE, INTERFACE_SHOWTIPS };
enum GameAttr { GAME_NAME, GAME_LEVEL, GAME_SCORES, GAME_LIVES, GAME_PLAYER, GAME_OPEN_LEVELS };

const char* const kModesFile = "data\\modes.yml";
const char* const kLanguagePattern = "ui\\*";
const char* const kDefaultLanguage = "english";

} // namespace

YInitHooks& InitHooks() {
    static YInitHooks hooks;
    return hooks;
}

Init::Init() {
    XMLTag tag;
    AddTag(XMLTag("config"));
    AddTag(MakeTag(tag, "video", "fullscreen", "1", "mode", "800x600:32", "double_buffer", "1", nullptr));
    AddTag(MakeTag(tag, "window", "width", "800", "height", "600", "maximize", "0", nullptr));
    AddTag(MakeTag(tag, "sound", "volume", "1", "music", "1", nullptr));
    AddTag(MakeTag(tag, "render", "fps", "0", "shadows", "1", nullptr));
    AddTag(MakeTag(tag, "splash", "shader", "", "bgshader", "", "bgcolor", "000000", "width", "500", "height", "500",
                   nullptr));
    AddTag(MakeTag(tag, "interface", "language", "english", "showtips", "1", nullptr));
    AddTag(MakeTag(tag, "game", "name", "", "level", "-1", "scores", "0", "lives", "0", "player", "", "openLevels", "0",
                   nullptr));
    writeAll = true;
    currentGameMode = 0;
    languages.Scan(kLanguagePattern, true);
    CopyAttributesToFields();
    NormalizeProbabilities(fallbackMode_.probabilities);
}

void Init::Load(const char* file) {
    if (gameModes.empty()) {
        YGameModeLoader loader(gameModes);
        loader.Load(kModesFile);
    }
    fileName = file ? file : "";
    if (file) XMLParser::Load(file);
    CopyAttributesToFields();
}

void Init::OnTag(int id) {
    const std::vector<XMLAttribute>& a = tags[static_cast<std::size_t>(id)].attributes;
    if (id == TAG_SPLASH) {
        YColor background;
        background.ParseColor(a[SPLASH_BGCOLOR].value); // a bad colour throws to OnError
        const YInitHooks& hooks = InitHooks();
        if (hooks.addSplashSlide)
            hooks.addSplashSlide(a[SPLASH_SHADER].value, a[SPLASH_BGSHADER].value, background,
                                 a[SPLASH_WIDTH].AsFloat(), a[SPLASH_HEIGHT].AsFloat());
    } else if (id == TAG_GAME) {
        YGameMode* mode = FindGameMode(a[GAME_NAME].value);
        if (!mode) {
            KeepUnknownGame(a);
            return;
        }
        mode->level = a[GAME_LEVEL].AsInt();
        mode->scores = a[GAME_SCORES].AsInt();
        mode->lives = a[GAME_LIVES].AsInt();
        mode->player = a[GAME_PLAYER].value;
        mode->openLevels = std::max(mode->openLevels, a[GAME_OPEN_LEVELS].AsInt());
    }
}

void Init::KeepUnknownGame(const std::vector<XMLAttribute>& game) {
    std::vector<std::string> values;
    values.reserve(game.size());
    for (const XMLAttribute& attribute : game) values.push_back(attribute.value);
    for (std::vector<std::string>& kept : unknownGames_) {
        if (kept[GAME_NAME] == values[GAME_NAME]) {
            kept = std::move(values);
            return;
        }
    }
    unknownGames_.push_back(std::move(values));
}

bool Init::OnError(const char* message) {
    LogPrintf(g_Log, "Init parser error, %s, file: %s, line: %d", message, fileName.c_str(), line);
    return true;
}

void Init::CopyAttributesToFields() {
    const std::vector<XMLAttribute>& video = tags[TAG_VIDEO].attributes;
    fullscreen = video[VIDEO_FULLSCREEN].AsBool();
    doubleBuffer = video[VIDEO_DOUBLE_BUFFER].AsBool();
    // Kept as written; the start-up resolves it against the renderer's list once.
    videoMode = video[VIDEO_MODE].value;

    const std::vector<XMLAttribute>& window = tags[TAG_WINDOW].attributes;
    windowWidth = window[WINDOW_WIDTH].AsInt();
    windowHeight = window[WINDOW_HEIGHT].AsInt();
    maximize = window[WINDOW_MAXIMIZE].AsBool();

    // The sound layer maps volumes to attenuation; values outside 0..1 would make it louder than
    // full volume.
    const std::vector<XMLAttribute>& sound = tags[TAG_SOUND].attributes;
    soundVolume = ClampVolume(sound[SOUND_VOLUME].AsFloat());
    musicVolume = ClampVolume(sound[SOUND_MUSIC].AsFloat());

    const std::vector<XMLAttribute>& render = tags[TAG_RENDER].attributes;
    fps = render[RENDER_FPS].AsBool();
    shadows = render[RENDER_SHADOWS].AsBool();

    const std::vector<XMLAttribute>& ui = tags[TAG_INTERFACE].attributes;
    languageIndex = languages.IndexOf(ui[INTERFACE_LANGUAGE].value, 0);
    showTips = ui[INTERFACE_SHOWTIPS].AsBool();
}

bool Init::Save() {
    if (fileName.empty()) {
        LogPrintf(g_Log, "Configuration not saved: no file was loaded");
        return false;
    }

    std::vector<XMLAttribute>& video = tags[TAG_VIDEO].attributes;
    video[VIDEO_FULLSCREEN].SetBool(fullscreen);
    video[VIDEO_MODE].value = videoMode;
    video[VIDEO_DOUBLE_BUFFER].SetBool(doubleBuffer);
    std::vector<XMLAttribute>& window = tags[TAG_WINDOW].attributes;
    window[WINDOW_WIDTH].SetInt(windowWidth);
    window[WINDOW_HEIGHT].SetInt(windowHeight);
    window[WINDOW_MAXIMIZE].SetBool(maximize);
    std::vector<XMLAttribute>& sound = tags[TAG_SOUND].attributes;
    sound[SOUND_VOLUME].SetFloat(soundVolume);
    sound[SOUND_MUSIC].SetFloat(musicVolume);
    std::vector<XMLAttribute>& render = tags[TAG_RENDER].attributes;
    render[RENDER_FPS].SetBool(fps);
    render[RENDER_SHADOWS].SetBool(shadows);
    std::vector<XMLAttribute>& ui = tags[TAG_INTERFACE].attributes;
    // With no language folder at that index (none were found), the language read last is kept.
    if (languageIndex >= 0 && static_cast<std::size_t>(languageIndex) < languages.entries.size())
        ui[INTERFACE_LANGUAGE].value = languages.GetName(languageIndex);
    ui[INTERFACE_SHOWTIPS].SetBool(showTips);

    std::string out;
    WriteOpenTag(out, TAG_CONFIG);
    out += '\n';
    for (int id : {TAG_VIDEO, TAG_WINDOW, TAG_SOUND, TAG_RENDER, TAG_INTERFACE}) {
        out += "  ";
        WriteOpenTag(out, id);
        out += '\n';
    }
    std::vector<XMLAttribute>& game = tags[TAG_GAME].attributes;
    for (const YGameMode& mode : gameModes) {
        game[GAME_NAME].value = mode.name;
        game[GAME_LEVEL].SetInt(mode.level);
        game[GAME_SCORES].SetInt(mode.scores);
        game[GAME_LIVES].SetInt(mode.lives);
        game[GAME_PLAYER].value = mode.player;
        game[GAME_OPEN_LEVELS].SetInt(mode.openLevels);
        out += "  ";
        WriteOpenTag(out, TAG_GAME);
        out += '\n';
    }
    // Progress of modes not known now: written back as read, for a later run that knows them.
    for (const std::vector<std::string>& kept : unknownGames_) {
        if (FindGameMode(kept[GAME_NAME])) continue; // its mode is known by now and written above
        for (std::size_t i = 0; i < kept.size() && i < game.size(); ++i) game[i].value = kept[i];
        out += "  ";
        WriteOpenTag(out, TAG_GAME);
        out += '\n';
    }
    WriteCloseTag(out, TAG_CONFIG);
    out += '\n';

    plat::AtomicFile file;
    if (!file.Open(fileName)) {
        // No temporary file can be made beside it (a read-only game folder), but the file itself
        // may still be writable: write it in place rather than lose the settings.
        if (plat::WriteFileInPlace(fileName, out)) {
            LogPrintf(g_Log, "Configuration saved in place: no temporary file could be made beside %s",
                      fileName.c_str());
            return true;
        }
        LogPrintf(g_Log, "Configuration not saved: could not write %s", fileName.c_str());
        return false;
    }
    if (!file.Write(out.data(), out.size()) || !file.Commit()) {
        LogPrintf(g_Log, "Configuration not saved: could not write %s", fileName.c_str());
        return false;
    }
    return true;
}

std::string Init::GetLanguagePath() const {
    if (languageIndex >= 0 && static_cast<std::size_t>(languageIndex) < languages.entries.size())
        return languages.GetPath(languageIndex);
    // No such folder (none were found): the language named in the configuration.
    const std::string& named = tags[TAG_INTERFACE].attributes[INTERFACE_LANGUAGE].value;
    return languages.directory + (named.empty() ? std::string(kDefaultLanguage) : named);
}

YGameMode* Init::FindGameMode(const std::string& name) {
    for (YGameMode& mode : gameModes)
        if (mode.name == name) return &mode;
    return nullptr;
}

YGameMode& Init::CurrentGameMode() {
    if (currentGameMode >= 0 && static_cast<std::size_t>(currentGameMode) < gameModes.size())
        return gameModes[static_cast<std::size_t>(currentGameMode)];
    if (fallbackMode_.probabilities.size() != static_cast<std::size_t>(BONUS_KIND_COUNT)) {
        fallbackMode_ = YGameMode();
        NormalizeProbabilities(fallbackMode_.probabilities);
    }
    return fallbackMode_;
}

Init& GetInit() {
    static Init init;
    return init;
}
