#include "shell/game_framework.h"

#include "core/console.h"
#include "core/file_list.h"
#include "core/init.h"
#include "core/locale.h"
#include "core/log.h"
#include "core/number_text.h"
#include "platform/sys/clock.h"
#include "platform/sys/crt_rand.h"
#include "render/font.h"
#include "render/font_loader.h"
#include "render/framework_start.h"
#include "render/render.h"
#include "render/render_hooks.h"
#include "render/scene/environment_box.h"
#include "render/scene/splash_show.h"
#include "render/shader_loader.h"
#include "shell/camera_path.h"
#include "shell/game_console_commands.h"
#include "shell/hud.h"
#include "shell/hud_links.h"
#include "shell/level_choice.h"
#include "shell/level_thumbnails.h"
#include "shell/score_table.h"
#include "shell/thumbnail_host.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_layout.h"
#include "shell/ui/ui_layout_registry.h"
#include "sound/music_player.h"
#include "sound/sound_device.h"
#include "sound/sound_fx.h"
#include "world/blocks/block.h"
#include "world/blocks/block_faces.h"
#include "world/blocks/block_material.h"
#include "world/bonus/bonus_config.h"
#include "world/level/level_loader.h"
#include "world/physics/arena.h"
#include "world/physics/racket_link.h"
#include "world/physics/table_size.h"
#include "world/racket/racket.h"
#include "world/table/table.h"
#include "world/table/table_materials.h"

namespace {

// Page files in the language folder, by GamePage.
const char* const PAGE_FILES[PAGE_COUNT] = {"mainmenu.yml", "scores.yml",  "controls.yml", "bonuses.yml",
                                            "bricks.yml",   "about.yml",   "options.yml",  "pause.yml",
                                            "lev.yml",      "complete.yml"};
// The order pages are loaded in (options is laid out after its language list is filled, about
// last with its version text).
const int PAGE_LOAD_ORDER[] = {PAGE_SCORES, PAGE_MAINMENU, PAGE_CONTROLS, PAGE_BONUSES,
                               PAGE_BRICKS, PAGE_PAUSE,    PAGE_LEV,      PAGE_COMPLETE};

// The game's score table, read from "scores.dat".
YScoreTable& LoadGameScores() {
    YScoreTable& table = GetScoreTable();
    table.LoadScores("scores.dat");
    return table;
}

} // namespace

GameFramework::GameFramework(const char* exePath)
    : exePath_(exePath ? exePath : ""),
      music_(std::make_unique<YMusicPlayer>()),
      states_(*this),
      input_(*this, states_, camera_.orbitView),
      menus_(*this, GetInit(), LoadGameScores()) {
    for (auto& page : pages_) page = std::make_unique<UILayout>();
    screen_.Init(800.0f, 600.0f, nullptr, nullptr);
    plat::CrtSrand(plat::TimeMs());

    levelNames_ = ListPlayableLevels("levels\\*.lev");
    menus_.levelChoice.SetLevels(levelNames_);

    console_ = CreateGameConsole(this);
    input_.SetConsole(console_);
    InstallSoundHooks();
    // The world is connected before the first configuration file is read: the game modes it
    // holds check their bonus records against the bonus kinds' names.
    SetUpWorld(HudWorldOutside());
    // The game modes (read with the first configuration file) register their tip pages.
    InstallLayoutRegistryHooks();
    YFrameworkStartSteps steps;
    steps.loadData = [this] {
        ParseSoundFile("data\\sound_fx.yml");
        LoadTableMaterials("data\\env.yml");
        table_ = std::make_unique<YTable>();
    };
    steps.beforeConfig = [this] {
        systemFont_ = FindFont("sysfont");
        ParseShaderFile("splash\\shaders.yml");
        GetInit().Load("splash\\config.yml");
    };
    StartFramework(*this, console_, steps);
    Init& init = GetInit();
    pages_[PAGE_ABOUT]->EnableProtect(true);
    LoadPages();

    racket_ = std::make_unique<YRacket>(this);
    InitHud();
    InstallHudIconLookup();
    LoadBlockMaterials("data\\blocks.yml");

    music_->AddFolder("music");
    SetListenerScale(0.02f);
    SetSoundVolume(init.soundVolume);
    SetMusicVolume(init.musicVolume);
    screen_.listener = this;

    maximized_ = init.maximize;
    CreateMainWindow();
    GameThumbnailHost thumbnails(camera_, ProjectionAspect());
    BuildLevelThumbnails(thumbnails, init, levelNames_);
    // The cracked-face textures are made here, not in the first frame that draws a cracked face
    // (the first frame of play, where making them took a frame of over 100 ms).
    GetSplitTexture(0.0f);
    LoadCameraPath("data\\path.cpt");
    g_EnvironmentBox.SetEnvironment("");
    RacketPark();
    states_.state = GS_SPLASH;
    states_.fadePhase = FADE_STEADY;
    clock_.previousMs = clock_.lastWorkMs = plat::TimeMs();
}

GameFramework::~GameFramework() {
    ::DeleteAllBlocks(); // while the physics world still holds their bodies
    racket_.reset();
    table_.reset();
    TearDownWorld();
    DestroyRenderer();
    levelNames_.clear();
    screen_.Shutdown();
    for (int i = PAGE_COUNT - 1; i >= 0; --i) pages_[i].reset();
    music_.reset();
}

void GameFramework::LoadPages() {
    const std::string folder = GetInit().GetLanguagePath() + "\\";
    GetLocale().Load((folder + "locale.yml").c_str());
    ParseFontFile((folder + "fonts.yml").c_str());
    ParseShaderFile((folder + "shaders.yml").c_str());
    LocalizeBonusConfig();
    for (int page : PAGE_LOAD_ORDER) pages_[page]->LoadLayout(folder + PAGE_FILES[page], true);
    pages_[PAGE_OPTIONS]->LoadLayout(folder + PAGE_FILES[PAGE_OPTIONS], false);
    menus_.FillLanguageSelect(GetLocale()); // lays the options page out
    pages_[PAGE_ABOUT]->LoadLayout(folder + PAGE_FILES[PAGE_ABOUT], true);
    for (const UILayoutSlot& slot : LayoutRegistry())
        if (slot.layout) slot.layout->LoadLayout(folder + slot.name, true);
    menus_.AfterPagesLoaded(GetLocale()); // the about page's version, the level page's controls
}

void GameFramework::Quit() { SaveAndQuit(); }

bool GameFramework::SaveAndQuit() {
    const bool saved = SaveConfig();
    YFramework::Quit();
    return saved;
}

bool GameFramework::SaveConfig() { return GetInit().Save(); }

// ---- Input: routed by state ----

void GameFramework::KeyDown(int key) { input_.KeyDown(key); }
void GameFramework::Char(int code) { input_.OnChar(code); }
void GameFramework::MouseDown(int button, int x, int y) { input_.MouseDown(button, x, y); }
void GameFramework::MouseUp(int button, int x, int y) { input_.MouseUp(button, x, y); }
void GameFramework::MouseMove(int x, int y) { input_.MouseMove(x, y); }
void GameFramework::MouseWheel(int delta) { input_.MouseWheel(delta); }

// ---- Play events of the racket ----

void GameFramework::OnGameOver() { RequestState(GS_GAME_OVER); }
void GameFramework::OnLevelComplete() { RequestState(GS_LEVEL_COMPLETE); }
void GameFramework::OnServe() { SetCursorPos(ClientWidth() / 2, MouseY()); }
void GameFramework::OnRacketHits(int hits) { states_.OnRacketHits(hits); }

// ---- Menu commands ----

void GameFramework::OnEvent(int type, UIControl* sender) { menus_.HandleMenuCommand(type, sender); }

// ---- What the state machine and the input handlers ask of the game ----

int GameFramework::LevelCount() { return static_cast<int>(levelNames_.size()); }

void GameFramework::LoadLevelAt(int index) {
    if (index < 0 || index >= LevelCount()) {
        LogPrintf("No level file at index %d", index);
        ::DeleteAllBlocks();
        return;
    }
    LoadLevel("levels\\" + levelNames_[static_cast<size_t>(index)]);
}

void GameFramework::DeleteAllBlocks() { ::DeleteAllBlocks(); }

void GameFramework::ShowPage(int page) { screen_.page = Page(page); }
void GameFramework::ShowTipPage(const std::string& file) { screen_.page = FindLayout(file); }
bool GameFramework::PageShown() { return screen_.page != nullptr; }

void GameFramework::SetPageText(int page, const char* control, const std::string& text) {
    UILayout* layout = Page(page);
    if (!layout) return;
    if (auto* named = dynamic_cast<UINamedText*>(layout->FindChild(control))) named->SetText(text);
}

bool GameFramework::CurrentPageBoxTicked(const char* control) { return IsBoxTicked(screen_.page, control); }

void GameFramework::UIKeyDown(int key) { screen_.KeyDown(key); }
void GameFramework::UIChar(int code) { screen_.Char(code); }
void GameFramework::UIMouseDown(int button, int x, int y) { screen_.MouseDown(button, x, y); }
void GameFramework::UIMouseUp(int button, int x, int y) { screen_.MouseUp(button, x, y); }
void GameFramework::UIMouseMove(int x, int y) { screen_.MouseMove(x, y); }

void GameFramework::PlayTrack(int track, float fadeSeconds) { music_->PlayTrack(track, fadeSeconds); }
void GameFramework::PlayNext(float fadeSeconds) { music_->PlayNext(fadeSeconds); }
void GameFramework::FadeOutAll() { music_->FadeOutAll(); }

void GameFramework::SplashSkip() { g_SplashShow.Skip(); }
void GameFramework::SplashSkipAll() { g_SplashShow.SkipAll(); }

// ---- The game console ----

void GameFramework::RunCommand(int id) {
    RunGameConsoleCommand(*console_, GetInit(), id, [this] { return SaveAndQuit(); });
}

void GameFramework::SetVariable(int id) {
    Init& init = GetInit();
    const std::string& name = console_->GetNameText();
    switch (id) {
        case GAME_VAR_FPS:
            init.fps = console_->GetBool();
            console_->Print(name + BoolToString(init.fps));
            break;
        case GAME_VAR_FULLSCREEN: {
            const bool value = console_->GetBool();
            if (value != IsFullScreen()) {
                init.fullscreen = value;
                DestroyFrameWindow();
                CreateMainWindow();
            }
            console_->Print(name + BoolToString(value));
            break;
        }
        case GAME_VAR_VIDEO_MODE:
            ApplyVideoMode(*this, console_->GetValueText());
            DestroyFrameWindow();
            CreateMainWindow();
            console_->Print(name + console_->GetValueText());
            break;
        case GAME_VAR_SOUND_VOLUME:
        case GAME_VAR_MUSIC_VOLUME: {
            float& setting = id == GAME_VAR_SOUND_VOLUME ? init.soundVolume : init.musicVolume;
            setting = ClampVolume(console_->GetFloat());
            const float value = setting;
            if (id == GAME_VAR_SOUND_VOLUME)
                SetSoundVolume(value);
            else
                SetMusicVolume(value);
            console_->Print(name + FloatToText(value));
            break;
        }
        case GAME_VAR_SHADOWS:
            init.shadows = console_->GetBool();
            console_->Print(name + BoolToString(init.shadows));
            break;
        case GAME_VAR_SHOWTIPS:
            init.showTips = console_->GetBool();
            console_->Print(name + BoolToString(init.showTips));
            break;
        default: break;
    }
}
