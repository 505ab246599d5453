// The shipped menu pages of every language folder: each page the game loads reads without a
// parser error, holds the controls the game looks up by name (with the class it expects) as
// direct children, names only fonts and shaders that the font and shader files define, and the
// about page carries its digest.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <typeinfo>
#include <vector>

#include "content/content_files.h"
#include "core/game_mode.h"
#include "core/init.h"
#include "core/log.h"
#include "platform/gpu/null/null_device.h"
#include "platform/sys/files.h"
#include "platform/window/codepage.h"
#include "render/font.h"
#include "render/font_loader.h"
#include "render/render_d3d.h"
#include "render/shader.h"
#include "render/shader_loader.h"
#include "shell/fake_shell_host.h"
#include "shell/game_states.h"
#include "shell/ui/ui_containers.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_input_widgets.h"
#include "shell/ui/ui_layout.h"
#include "shell/ui/ui_table.h"
#include "support/temp_dir.h"

namespace {

using content::GamePath;

// The pages the game loads from every language folder, in its loading order.
constexpr const char* FIXED_PAGES[] = {"scores.yml", "bonuses.yml", "mainmenu.yml", "controls.yml", "bricks.yml",
                                       "pause.yml",  "lev.yml",     "complete.yml", "options.yml",  "about.yml"};

// The shaders the widgets take their look from.
constexpr const char* SKIN_SHADERS[] = {"ui_select", "ui_tracker1", "ui_tracker2", "ui_edit",
                                        "ui_window", "ui_checkbox", "ui_line",     "ui_panel"};

enum class Kind { Any, MenuItem, Text, Edit, Select, Tracker, Image, CheckBox };

bool IsKind(const UIControl* c, Kind k) {
    switch (k) {
        case Kind::Any: return c != nullptr;
        case Kind::MenuItem: return dynamic_cast<const UIMenuItem*>(c) != nullptr;
        case Kind::Text: return dynamic_cast<const UINamedText*>(c) != nullptr;
        case Kind::Edit: return dynamic_cast<const UIEdit*>(c) != nullptr;
        case Kind::Select: return dynamic_cast<const UISelect*>(c) != nullptr;
        case Kind::Tracker: return dynamic_cast<const UITracker*>(c) != nullptr;
        case Kind::Image: return dynamic_cast<const UIImage*>(c) != nullptr;
        case Kind::CheckBox: return dynamic_cast<const UICheckBox*>(c) != nullptr;
    }
    return false;
}

struct Required {
    const char* page;
    const char* name;
    Kind kind;
};

// What the menu code finds by name on each page ("*" stands for every tip page).
constexpr Required REQUIRED[] = {
    {"mainmenu.yml", "onNewEasyGame", Kind::MenuItem},
    {"mainmenu.yml", "onNewOriginalGame", Kind::MenuItem},
    {"mainmenu.yml", "onScores", Kind::Any},
    {"mainmenu.yml", "onOptions", Kind::Any},
    {"mainmenu.yml", "onInfo", Kind::Any},
    {"mainmenu.yml", "onAbout", Kind::Any},
    {"mainmenu.yml", "onExit", Kind::Any},
    {"pause.yml", "onContinue", Kind::Any},
    {"pause.yml", "onSwitchMainMenu", Kind::Any},
    {"pause.yml", "onExit", Kind::Any},
    {"complete.yml", "score", Kind::Text},
    {"complete.yml", "time", Kind::Text},
    {"complete.yml", "onNextLevel", Kind::Any},
    {"scores.yml", "winnername", Kind::Edit},
    {"scores.yml", "onScoresMainMenu", Kind::Any},
    {"options.yml", "language", Kind::Select},
    {"options.yml", "resolution", Kind::Select},
    {"options.yml", "soundVol", Kind::Tracker},
    {"options.yml", "musicVol", Kind::Tracker},
    {"options.yml", "showTips", Kind::Select},
    {"options.yml", "onOptionsApply", Kind::Any},
    {"options.yml", "onMainMenu", Kind::Any},
    {"controls.yml", "onBonuses", Kind::Any},
    {"controls.yml", "onMainMenu", Kind::Any},
    {"bonuses.yml", "onBonusPrev", Kind::Any},
    {"bonuses.yml", "onBonusNext", Kind::Any},
    {"bonuses.yml", "onMainMenu", Kind::Any},
    {"bricks.yml", "onBonusesBricks", Kind::Any},
    {"bricks.yml", "onMainMenu", Kind::Any},
    {"about.yml", "version", Kind::Text},
    {"about.yml", "onMainMenu", Kind::Any},
    {"lev.yml", "game_mode", Kind::Text},
    {"lev.yml", "level_number", Kind::Text},
    {"lev.yml", "lev_up", Kind::Image},
    {"lev.yml", "lev_down", Kind::Image},
    {"lev.yml", "onStartGame", Kind::Image},
    {"*", "showTips", Kind::CheckBox},
    {"*", "onContinue", Kind::Any},
};

struct CheckedPage : UILayout {
    bool protectFailed = false;
    void OnProtectFailure() override { protectFailed = true; }
};

std::vector<std::string> Languages() {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(std::string(KORVELIN_GAME_DIR) + "/ui", ec))
        if (e.is_directory()) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> TipPages() {
    std::vector<YGameMode> modes;
    YGameModeLoader(modes).Load(GamePath("data\\modes.yml").c_str());
    std::set<std::string> names;
    for (const YGameMode& m : modes)
        for (const YGameTip& t : m.tips) names.insert(t.fileName);
    return {names.begin(), names.end()};
}

class UiPagesContent : public ::testing::Test {
protected:
    // The data files name their files relative to the game folder, where the game runs.
    static void SetUpTestSuite() {
        previousDir_ = std::filesystem::current_path();
        std::filesystem::current_path(KORVELIN_GAME_DIR);
        dir_ = new TempDir();
        auto d3d = std::make_shared<gpu::NullDirect3D>();
        render_ = new Render_D3D([d3d](uint32_t) -> gpu::Direct3DPtr { return d3d; });
    }
    static void TearDownTestSuite() {
        delete render_;
        render_ = nullptr;
        delete dir_;
        dir_ = nullptr;
        std::error_code ec;
        std::filesystem::current_path(previousDir_, ec);
    }
    // Runs `read` with the log in a scratch file and returns the lines it logged.
    static std::vector<std::string> Logged(const std::function<void()>& read) {
        LogReopen(dir_->File("log.txt"));
        read();
        LogReopen("");
        std::vector<std::string> lines;
        std::istringstream in(dir_->Read("log.txt"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    static std::vector<std::string> Errors(const std::vector<std::string>& lines) {
        std::vector<std::string> out;
        for (const std::string& l : lines)
            if (l.find("error") != std::string::npos || l.find("not found") != std::string::npos) out.push_back(l);
        return out;
    }
    static void ReadLanguageResources(const std::string& lang) {
        const std::string folder = "ui\\" + lang + "\\";
        const auto lines = Logged([&] {
            ParseFontFile(GamePath("data\\fonts.yml").c_str());
            ParseShaderFile(GamePath("data\\shaders.yml").c_str());
            ParseFontFile(GamePath(folder + "fonts.yml").c_str());
            ParseShaderFile(GamePath(folder + "shaders.yml").c_str());
        });
        EXPECT_TRUE(Errors(lines).empty()) << lang << ": " << ::testing::PrintToString(Errors(lines));
    }

    static inline std::filesystem::path previousDir_;
    static inline TempDir* dir_ = nullptr;
    static inline Render_D3D* render_ = nullptr;
};

TEST_F(UiPagesContent, ThereAreTwoLanguagesWithTheDefaultFirstChoice) {
    const std::vector<std::string> langs = Languages();
    EXPECT_GE(langs.size(), 2u);
    EXPECT_NE(std::find(langs.begin(), langs.end(), "english"), langs.end());
    for (const std::string& lang : langs)
        for (const char* f : {"locale.yml", "fonts.yml", "shaders.yml"})
            EXPECT_GE(plat::FileSize(GamePath("ui\\" + lang + "\\" + f)), 0) << lang << " lacks " << f;
}

TEST_F(UiPagesContent, EveryPageLoadsWithoutErrorAndHasItsControls) {
    const std::vector<std::string> tips = TipPages();
    ASSERT_FALSE(tips.empty());
    for (const std::string& lang : Languages()) {
        ReadLanguageResources(lang);
        std::vector<std::string> pages(std::begin(FIXED_PAGES), std::end(FIXED_PAGES));
        pages.insert(pages.end(), tips.begin(), tips.end());
        for (const std::string& file : pages) {
            SCOPED_TRACE(lang + "/" + file);
            CheckedPage page;
            page.EnableProtect(file == "about.yml");
            const std::string path = GamePath("ui\\" + lang + "\\" + file);
            const auto lines = Logged([&] { page.LoadLayout(path, true); });
            EXPECT_EQ(lines, std::vector<std::string>{"Parse layout " + path});
            EXPECT_FALSE(page.protectFailed) << "digest of " << file << " (run pagestamp)";
            EXPECT_FALSE(page.Children().empty());
            EXPECT_LE(page.y + page.h, 600.0f) << "the page runs off the screen";
            const bool isTip = std::find(tips.begin(), tips.end(), file) != tips.end();
            for (const Required& r : REQUIRED) {
                if (!(r.page == file || (isTip && std::string(r.page) == "*"))) continue;
                EXPECT_TRUE(IsKind(page.FindChild(r.name), r.kind)) << r.name;
            }
            // Every widget fits the 800 x 600 screen.
            for (const UIControl* c : page.Children()) {
                if (!c->visible) continue;
                EXPECT_GE(c->x, 0.0f) << c->name;
                EXPECT_LE(c->x + c->w, 800.5f) << c->name;
                EXPECT_LE(page.y + c->y + c->h, 600.5f) << c->name;
            }
        }
    }
}

TEST_F(UiPagesContent, PagesTheGameAddressesByPositionKeepTheirOrder) {
    for (const std::string& lang : Languages()) {
        SCOPED_TRACE(lang);
        CheckedPage scores;
        scores.LoadLayout(GamePath("ui\\" + lang + "\\scores.yml"), true);
        const auto& sc = scores.Children();
        ASSERT_GE(sc.size(), 16u);
        for (std::size_t i = 2; i < 16; ++i) EXPECT_TRUE(IsKind(sc[i], Kind::Text)) << "child " << i;

        CheckedPage bonuses;
        bonuses.LoadLayout(GamePath("ui\\" + lang + "\\bonuses.yml"), true);
        const auto& bc = bonuses.Children();
        ASSERT_GE(bc.size(), 19u);
        for (std::size_t row = 0; row < 6; ++row) {
            EXPECT_TRUE(IsKind(bc[1 + row * 3], Kind::Image)) << "row " << row;
            EXPECT_TRUE(IsKind(bc[2 + row * 3], Kind::Text)) << "row " << row;
            EXPECT_TRUE(IsKind(bc[3 + row * 3], Kind::Text)) << "row " << row;
        }

        CheckedPage options;
        options.LoadLayout(GamePath("ui\\" + lang + "\\options.yml"), false);
        auto* tips = dynamic_cast<UISelect*>(options.FindChild("showTips"));
        ASSERT_NE(tips, nullptr);
        EXPECT_EQ(tips->OptionCount(), 2); // off, on
    }
}

// The tip page's box turns tips off when it is ticked as the tip closes, so it must start unticked:
// a player who just reads the tip and goes on keeps getting tips.
TEST_F(UiPagesContent, ClosingATipLeavesTipsOnUnlessThePlayerTicksTheBox) {
    struct PageHost : FakeShellHost {
        const UIControl* shown = nullptr;
        bool CurrentPageBoxTicked(const char* control) override { return IsBoxTicked(shown, control); }
    };
    const bool savedShowTips = GetInit().showTips;
    for (const std::string& lang : Languages()) {
        ReadLanguageResources(lang);
        for (const std::string& file : TipPages()) {
            SCOPED_TRACE(lang + "/" + file);
            CheckedPage page;
            page.LoadLayout(GamePath("ui\\" + lang + "\\" + file), true);
            auto* box = dynamic_cast<UICheckBox*>(page.FindChild("showTips"));
            ASSERT_NE(box, nullptr);
            EXPECT_FALSE(box->checked) << "the box starts ticked";
            EXPECT_FALSE(box->label.empty());

            PageHost host;
            YGameStates states(host);
            for (bool tick : {false, true}) {
                GetInit().showTips = true;
                host.ShowTipPage(file);
                host.shown = &page;
                states.state = GS_TIP;
                if (tick) box->OnMouseDown(1, 1.0f, 1.0f);
                states.Resume();
                EXPECT_EQ(GetInit().showTips, !tick) << (tick ? "ticked" : "untouched");
                EXPECT_EQ(states.state, GS_PLAY);
            }
        }
    }
    GetInit().showTips = savedShowTips;
}

// The fonts hold the 256 characters of Windows-1252 and the game draws a text's bytes as they
// are, so the language files are written in that code page. A file saved as UTF-8 would show
// two wrong letters for every umlaut.
TEST_F(UiPagesContent, LanguageFilesAreWrittenInTheFontsCodePage) {
    ReadLanguageResources("english");
    const YFont* font = FindFontInList("default");
    ASSERT_NE(font, nullptr);
    for (const std::string& lang : Languages()) {
        for (const auto& e : std::filesystem::directory_iterator(std::string(KORVELIN_GAME_DIR) + "/ui/" + lang)) {
            const std::string file = lang + "/" + e.path().filename().string();
            std::string text;
            ASSERT_EQ(plat::ReadFile(e.path().string(), text, 1 << 20, true), plat::ReadStatus::Ok) << file;
            for (std::size_t i = 0; i < text.size(); ++i) {
                const auto c = static_cast<unsigned char>(text[i]);
                const std::string where = file + " byte " + std::to_string(i);
                if (c == '\n' || c == '\t') continue;
                ASSERT_GT(font->GetCharWidth(c), 0.0f) << where << " (0x" << std::hex << int(c) << ") has no glyph";
                if (c < 0xC2 || c > 0xF4 || i + 1 >= text.size()) continue;
                std::size_t pos = i;
                EXPECT_EQ(plat::DecodeUtf8(text, pos), 0xFFFDu) << where << " starts a UTF-8 sequence";
            }
        }
    }
}

// The pages the main menu state shows, under the logo; its tagline ends at y 96, and a panel
// keeps a clear gap below it.
constexpr const char* PAGES_UNDER_THE_LOGO[] = {"mainmenu.yml", "scores.yml", "options.yml", "controls.yml",
                                                "bonuses.yml",  "bricks.yml", "about.yml"};
constexpr float LOGO_TAGLINE_BOTTOM = 96.0f;
constexpr float TAGLINE_GAP = 12.0f;

// Every text run of a flow, with the flows and tables it places, in page coordinates.
void CollectRuns(const UIBlock* b, std::vector<const UITextRun*>& out) {
    if (const auto* table = dynamic_cast<const UITable*>(b)) {
        for (const UITable::Row& r : table->rows)
            for (const UITable::Cell& c : r.cells) CollectRuns(c.content, out);
    } else if (const auto* flow = dynamic_cast<const UIMultiBlock*>(b)) {
        for (const UITextRun& r : flow->runs)
            if (!r.text.empty()) out.push_back(&r);
        for (const UIBlock* p : flow->placed) CollectRuns(p, out);
    }
}

// Each page draws its text and widgets on dark backing panels, so that they read over any
// table and sky; under the logo the panels keep clear of its tagline.
TEST_F(UiPagesContent, EveryPageShowsItsContentOnBackingPanels) {
    const std::vector<std::string> tips = TipPages();
    for (const std::string& lang : Languages()) {
        ReadLanguageResources(lang);
        std::vector<std::string> pages(std::begin(FIXED_PAGES), std::end(FIXED_PAGES));
        pages.insert(pages.end(), tips.begin(), tips.end());
        for (const std::string& file : pages) {
            SCOPED_TRACE(lang + "/" + file);
            CheckedPage page;
            page.LoadLayout(GamePath("ui\\" + lang + "\\" + file), true);
            std::vector<std::array<float, 4>> rects;
            for (const UILayout::Panel& p : page.Panels()) {
                std::array<float, 4> r{};
                if (UILayout::PanelRect(p, r.data())) rects.push_back(r);
            }
            ASSERT_FALSE(rects.empty()) << "no backing panel";
            auto onPanel = [&](float x0, float y0, float x1, float y1) {
                for (const auto& r : rects)
                    if (x0 >= r[0] && y0 >= r[1] && x1 <= r[2] && y1 <= r[3]) return true;
                return false;
            };
            std::vector<const UITextRun*> runs;
            CollectRuns(&page.RootBlock(), runs);
            for (const UITextRun* r : runs) {
                const float w = r->style.font->GetTextWidth(r->text.c_str()) * r->style.size;
                EXPECT_TRUE(onPanel(r->x, r->y - r->style.size, r->x + w, r->y)) << "text off the panels: " << r->text;
            }
            for (const UIControl* c : page.Children()) {
                if (!c->visible) continue;
                EXPECT_TRUE(onPanel(c->x, c->y, c->x + c->w, c->y + c->h)) << "widget off the panels: " << c->name;
            }
            const bool underLogo =
                std::find_if(std::begin(PAGES_UNDER_THE_LOGO), std::end(PAGES_UNDER_THE_LOGO),
                             [&](const char* p) { return file == p; }) != std::end(PAGES_UNDER_THE_LOGO);
            if (!underLogo) continue;
            for (const auto& r : rects)
                EXPECT_GE(page.y + r[1], LOGO_TAGLINE_BOTTOM + TAGLINE_GAP) << "panel at the tagline";
        }
    }
}

TEST_F(UiPagesContent, FontsAndShadersThePagesNameAreDefined) {
    const std::regex fontName("<font[^>]*\\sname=\"([^\"]*)\"");
    const std::regex hotFont("hotfont=\"([^\"]*)\"");
    const std::regex shader("\\s(?:hot_)?shader=\"([^\"]*)\"");
    for (const std::string& lang : Languages()) {
        SCOPED_TRACE(lang);
        ReadLanguageResources(lang);
        for (const char* s : SKIN_SHADERS) EXPECT_NE(FindShaderInList(s), nullptr) << s;
        for (const auto& e : std::filesystem::directory_iterator(std::string(KORVELIN_GAME_DIR) + "/ui/" + lang)) {
            const std::string file = e.path().filename().string();
            if (file == "fonts.yml" || file == "shaders.yml" || file == "locale.yml") continue;
            std::string text;
            ASSERT_EQ(plat::ReadFile(e.path().string(), text, 1 << 20, true), plat::ReadStatus::Ok);
            for (const std::regex* re : {&fontName, &hotFont}) {
                for (auto it = std::sregex_iterator(text.begin(), text.end(), *re); it != std::sregex_iterator();
                     ++it) {
                    const YFont* f = FindFontInList((*it)[1].str());
                    EXPECT_TRUE(f && f->shader) << file << " names the undefined font " << (*it)[1];
                }
            }
            for (auto it = std::sregex_iterator(text.begin(), text.end(), shader); it != std::sregex_iterator(); ++it) {
                if ((*it)[1].str().empty()) continue;
                EXPECT_NE(FindShaderInList((*it)[1].str()), nullptr)
                    << file << " names the undefined shader " << (*it)[1];
            }
        }
    }
}

TEST_F(UiPagesContent, TheHotFontGlowsInItsShadersColour) {
    ReadLanguageResources("english");
    const YFont* hot = FindFontInList("menuhot");
    ASSERT_TRUE(hot && hot->shader);
    const float* e = hot->shader->material.emissive;
    EXPECT_GT(e[0] + e[1] + e[2], 0.5f) << "a black glow would be invisible";
}

} // namespace
