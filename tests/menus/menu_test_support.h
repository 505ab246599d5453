#pragma once
// Helpers of the menu suites: a framework stand-in that records what the menus ask of it, the
// game's own page files loaded from the source tree, and a scratch folder per test.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/init.h"
#include "core/locale.h"
#include "render/font.h"
#include "shell/menu_host.h"
#include "shell/ui/ui_layout.h"

namespace menutest {

struct FakeHost : MenuHost {
    UILayout* shown = nullptr;
    int showCount = 0;
    std::vector<int> states;
    int state = gamestate::MAIN_MENU;
    int resumes = 0;
    int loadPages = 0;
    int recreates = 0;
    std::vector<float> musicVolumes, soundVolumes;
    uint32_t score = 0;
    int levelIndex = -1;
    std::vector<YVideoMode> sizes;
    std::vector<BonusInfoRecord> bonuses;
    std::vector<std::string> textures; // every texture asked for, in order
    std::function<void()> onLoadPages;

    void ShowPage(UILayout* page) override {
        shown = page;
        ++showCount;
    }
    void RequestState(int s) override { states.push_back(s); }
    int GameState() const override { return state; }
    void Resume() override { ++resumes; }
    void LoadPages() override {
        ++loadPages;
        if (onLoadPages) onLoadPages();
    }
    void RecreateWindow() override { ++recreates; }
    void SetMusicVolume(float v) override { musicVolumes.push_back(v); }
    void SetSoundVolume(float v) override { soundVolumes.push_back(v); }
    uint32_t RacketScore() const override { return score; }
    int RacketLevelIndex() const override { return levelIndex; }
    void SetRacketLevelIndex(int index) override { levelIndex = index; }
    std::vector<YVideoMode> DisplaySizes() const override { return sizes; }
    YTexture* GetTexture(const std::string& path) override {
        textures.push_back(path);
        // Any distinct non-null pointer will do: the menus only hand it on.
        return reinterpret_cast<YTexture*>(static_cast<std::uintptr_t>(0x1000 + 16 * textures.size()));
    }
    int BonusRecordCount() const override { return static_cast<int>(bonuses.size()); }
    BonusInfoRecord BonusRecord(int i) const override { return bonuses[static_cast<std::size_t>(i)]; }
};

// A page of the shipped English (or other) language folder.
inline std::unique_ptr<UILayout> LoadShippedPage(const std::string& file, const std::string& language = "english") {
    auto page = std::make_unique<UILayout>();
    page->LoadLayout(std::string(KORVELIN_SOURCE_DIR) + "/assets/ui/" + language + "/" + file, true);
    return page;
}

// A page from markup.
inline std::unique_ptr<UILayout> PageFromText(const std::string& markup) {
    auto page = std::make_unique<UILayout>();
    page->LoadLayoutText("test.yml", markup, true);
    return page;
}

// A fresh empty folder under the system's temporary folder, removed afterwards.
struct ScratchDir {
    std::filesystem::path path;
    ScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path = std::filesystem::temp_directory_path() / ("korvelin_menus_" + std::string(info->test_suite_name()) +
                                                         "_" + info->name() + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string operator/(const std::string& name) const { return (path / name).string(); }
};

// A configuration with two game modes and nothing read from disk.
inline void TwoModes(Init& config) {
    config.gameModes.clear();
    config.gameModes.emplace_back();
    config.gameModes.back().name = "easy";
    config.gameModes.emplace_back();
    config.gameModes.back().name = "original";
    config.currentGameMode = 0;
}

} // namespace menutest
