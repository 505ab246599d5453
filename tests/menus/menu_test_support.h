#pragma once
// Helpers of the menu suites: the framework stand-in that records what the menus ask of it, the
// game's own page files loaded from the source tree, and a scratch folder per test.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/init.h"
#include "core/locale.h"
#include "render/font.h"
#include "shell/fake_shell_host.h"
#include "shell/ui/ui_layout.h"

namespace menutest {

// The shared fake game, as the menus first meet it: no level chosen yet.
struct FakeHost : FakeShellHost {
    FakeHost() { levelIndex = -1; }
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
