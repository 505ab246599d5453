// The camera path file: the text form is parsed only while no binary copy exists, the copy holds
// the exact bytes, and damaged or missing files leave an empty path without writing a copy.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/log.h"
#include "shell/camera_path.h"
#include "support/temp_dir.h"

namespace {

const char* const TEXT = "data\\path.cpt";

class CameraPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.MakeDir("data");
        LogReopen(dir_.File("log.txt"));
        CameraPath().clear();
    }
    void TearDown() override {
        LogReopen("");
        CameraPath().clear();
    }
    std::string LogText() const { return dir_.Read("log.txt"); }

    TempDir dir_{true};
};

std::string Floats(std::initializer_list<float> values) {
    std::string out;
    for (float f : values) out.append(reinterpret_cast<const char*>(&f), 4);
    return out;
}

std::string Count(uint32_t n) { return std::string(reinterpret_cast<const char*>(&n), 4); }

TEST_F(CameraPathTest, CacheNameEndsInCpb) {
    EXPECT_EQ(CameraPathCacheName("data\\path.cpt"), "data\\path.cpb");
    EXPECT_EQ(CameraPathCacheName("ab"), "cpb");
}

TEST_F(CameraPathTest, ThreeSamplesMakeAnEightyEightByteCopyWithTheSamplesInOrder) {
    dir_.Write("data/path.cpt",
               "CAMPATH 3\n"
               "0 -30 20  0 0 0  45\n"
               "10 -25.5 18  0 1 -2  50\n"
               "-1e1 2.25 3  4 5 6  60.5\n");
    ASSERT_TRUE(LoadCameraPath(TEXT));

    const std::string expected = Count(3) + Floats({0, -30, 20, 0, 0, 0, 45}) + Floats({10, -25.5f, 18, 0, 1, -2, 50}) +
                                 Floats({-10, 2.25f, 3, 4, 5, 6, 60.5f});
    const std::string cache = dir_.Read("data/path.cpb");
    ASSERT_EQ(cache.size(), 88u);
    EXPECT_EQ(cache, expected);

    ASSERT_EQ(CameraPath().size(), 3u);
    EXPECT_EQ(CameraPath()[1].eye[1], -25.5f);
    EXPECT_EQ(CameraPath()[1].target[2], -2.0f);
    EXPECT_EQ(CameraPath()[2].fov, 60.5f);
}

TEST_F(CameraPathTest, AnExistingCopyWinsOverAChangedText) {
    dir_.Write("data/path.cpt", "P 1  1 2 3 4 5 6 45");
    ASSERT_TRUE(LoadCameraPath(TEXT));
    dir_.Write("data/path.cpt", "P 2  9 9 9 9 9 9 90  8 8 8 8 8 8 80");
    ASSERT_TRUE(LoadCameraPath(TEXT));
    ASSERT_EQ(CameraPath().size(), 1u);
    EXPECT_EQ(CameraPath()[0].eye[0], 1.0f);
    EXPECT_EQ(CameraPath()[0].fov, 45.0f);
}

TEST_F(CameraPathTest, ASecondStartNeedsNoText) {
    dir_.Write("data/path.cpt", "P 2  1 2 3 4 5 6 45  7 8 9 10 11 12 30");
    ASSERT_TRUE(LoadCameraPath(TEXT));
    std::filesystem::remove(dir_.File("data/path.cpt"));
    CameraPath().clear();
    ASSERT_TRUE(LoadCameraPath(TEXT));
    ASSERT_EQ(CameraPath().size(), 2u);
    EXPECT_EQ(CameraPath()[1].target[2], 12.0f);
}

TEST_F(CameraPathTest, AZeroCountTextGivesAnEmptyPathAndAFourByteCopy) {
    dir_.Write("data/path.cpt", "P 0");
    EXPECT_FALSE(LoadCameraPath(TEXT));
    EXPECT_TRUE(CameraPath().empty());
    EXPECT_EQ(dir_.Read("data/path.cpb"), Count(0));
}

struct BadText {
    const char* name;
    const char* text; // null: no text file
};

class BadTextTest : public CameraPathTest, public ::testing::WithParamInterface<BadText> {};

TEST_P(BadTextTest, LeavesThePathEmptyAndWritesNoCopy) {
    CameraPath().resize(5); // left over from nothing: the load must clear it
    if (GetParam().text) dir_.Write("data/path.cpt", GetParam().text);
    EXPECT_FALSE(LoadCameraPath(TEXT));
    EXPECT_TRUE(CameraPath().empty());
    EXPECT_FALSE(dir_.Exists("data/path.cpb"));
    EXPECT_NE(LogText().find("path.cpt"), std::string::npos) << LogText();
}

INSTANTIATE_TEST_SUITE_P(Texts, BadTextTest,
                         ::testing::Values(BadText{"Missing", nullptr}, BadText{"Empty", ""},
                                           BadText{"HeaderOnly", "CAMPATH"},
                                           BadText{"FewerNumbersThanCount", "P 2  1 2 3 4 5 6 45  1 2 3"},
                                           BadText{"NegativeCount", "P -1  1 2 3 4 5 6 7"},
                                           BadText{"CountNotANumber", "P x  1 2 3 4 5 6 7"},
                                           BadText{"NumberNotANumber", "P 1  1 2 three 4 5 6 7"},
                                           BadText{"AbsurdCount", "P 4000000000  1 2 3 4 5 6 7"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct BadCache {
    const char* name;
    std::string bytes;
};

class BadCacheTest : public CameraPathTest, public ::testing::WithParamInterface<BadCache> {};

TEST_P(BadCacheTest, IsRefusedWholeAndTheTextIsNotConsulted) {
    dir_.Write("data/path.cpt", "P 1  1 2 3 4 5 6 45");
    dir_.Write("data/path.cpb", GetParam().bytes);
    EXPECT_FALSE(LoadCameraPath(TEXT));
    EXPECT_TRUE(CameraPath().empty());
    EXPECT_EQ(dir_.Read("data/path.cpb"), GetParam().bytes); // left as it was
    EXPECT_NE(LogText().find("path.cpb"), std::string::npos) << LogText();
}

INSTANTIATE_TEST_SUITE_P(Caches, BadCacheTest,
                         ::testing::Values(BadCache{"Empty", ""}, BadCache{"ShortCount", std::string("\x01\x00", 2)},
                                           BadCache{"CountBeyondBytes", Count(2) + Floats({1, 2, 3, 4, 5, 6, 7})},
                                           BadCache{"HugeCount", Count(0xFFFFFFFFu) + Floats({1, 2, 3})},
                                           BadCache{"CutInsideASample", Count(1) + Floats({1, 2, 3})}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CameraPathTest, ACopyThatCannotBeWrittenStillGivesTheParsedPath) {
    // A folder stands where the copy would go, so the copy cannot be put in place.
    dir_.Write("data/path.cpt", "P 1  1 2 3 4 5 6 45");
    dir_.MakeDir("data/path.cpb");
    EXPECT_TRUE(LoadCameraPath(TEXT));
    ASSERT_EQ(CameraPath().size(), 1u);
    EXPECT_EQ(CameraPath()[0].fov, 45.0f);
    EXPECT_NE(LogText().find("Could not write camera path file"), std::string::npos) << LogText();
}

} // namespace
