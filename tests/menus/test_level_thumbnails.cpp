// Making the level pictures: only the missing ones, one capture target per pass, clean-up after.
#include <gtest/gtest.h>

#include <set>

#include "menu_test_support.h"
#include "shell/level_thumbnails.h"

namespace {

struct FakeThumbs : ThumbnailHost {
    std::set<std::string> files;
    std::set<std::string> badLevels;
    bool captureWorks = true;
    int captures = 0, ends = 0, restores = 0, renders = 0;
    std::vector<std::string> loaded, saved, folders;

    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    bool MakeFolder(const std::string& path) override {
        folders.push_back(path);
        return true;
    }
    bool BeginCapture(int w, int h) override {
        EXPECT_EQ(w, 128);
        EXPECT_EQ(h, 128);
        ++captures;
        return captureWorks;
    }
    bool LoadLevel(const std::string& path) override {
        loaded.push_back(path);
        return badLevels.count(path) == 0;
    }
    void RenderStillView() override { ++renders; }
    bool SaveCapture(const std::string& path) override {
        saved.push_back(path);
        files.insert(path);
        return true;
    }
    void EndCapture() override { ++ends; }
    void RestoreDefaults() override { ++restores; }
};

const std::vector<std::string> LEVELS = {"a01.lev", "a02.lev", "b01.lev"};

std::string Thumb(const std::string& level) { return "levels\\thumb\\" + level + ".bmp"; }

TEST(LevelThumbnails, AllPresentLoadsNoLevel) {
    FakeThumbs host;
    for (const auto& l : LEVELS) host.files.insert(Thumb(l));
    Init config;
    menutest::TwoModes(config);
    BuildLevelThumbnails(host, config, LEVELS);
    EXPECT_TRUE(host.loaded.empty());
    EXPECT_EQ(host.captures, 0);
    EXPECT_EQ(host.restores, 0);
    EXPECT_EQ(config.currentGameMode, 1);
}

TEST(LevelThumbnails, OneMissingIsMadeOnceAndTheDefaultsComeBack) {
    FakeThumbs host;
    host.files = {Thumb("a01.lev"), Thumb("b01.lev")};
    Init config;
    menutest::TwoModes(config);
    BuildLevelThumbnails(host, config, LEVELS);
    EXPECT_EQ(host.loaded, std::vector<std::string>{"levels\\a02.lev"});
    EXPECT_EQ(host.saved, std::vector<std::string>{Thumb("a02.lev")});
    EXPECT_EQ(host.folders, std::vector<std::string>{"levels\\thumb"});
    EXPECT_EQ(host.ends, 1);
    EXPECT_EQ(host.restores, 1);
    // A second pass finds every picture.
    FakeThumbs again;
    again.files = host.files;
    BuildLevelThumbnails(again, config, LEVELS);
    EXPECT_TRUE(again.saved.empty());
}

TEST(LevelThumbnails, NoCaptureTargetEndsThePass) {
    FakeThumbs host;
    host.files = {Thumb("a01.lev")};
    host.captureWorks = false;
    Init config;
    menutest::TwoModes(config);
    BuildLevelThumbnails(host, config, LEVELS);
    EXPECT_TRUE(host.loaded.empty());
    EXPECT_EQ(host.ends + host.restores, 0);
}

TEST(LevelThumbnails, ALevelThatDoesNotLoadGetsNoPicture) {
    FakeThumbs host;
    host.badLevels = {"levels\\a02.lev"};
    Init config;
    config.gameModes.resize(1); // one mode only: its rules are used
    BuildLevelThumbnails(host, config, LEVELS);
    EXPECT_EQ(host.saved, (std::vector<std::string>{Thumb("a01.lev"), Thumb("b01.lev")}));
    EXPECT_EQ(host.renders, 2);
    EXPECT_EQ(config.currentGameMode, 0);
}

} // namespace
