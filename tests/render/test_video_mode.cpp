#include "render/video_mode.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

YVideoMode Mode(uint32_t w, uint32_t h, uint32_t depth, uint32_t refresh, int32_t index = -1) {
    YVideoMode m;
    m.width = w;
    m.height = h;
    m.depth = depth;
    m.refresh = refresh;
    m.index = index;
    return m;
}

std::vector<std::string> Texts(const std::vector<YVideoMode>& modes) {
    std::vector<std::string> out;
    for (const YVideoMode& m : modes) out.push_back(m.ToString());
    return out;
}

// A list as the renderer builds it: ascending width, height and refresh, depths in adapter order,
// index = position, the desktop mode last.
YVideoModeList MakeList(uint32_t desktopRefresh) {
    YVideoModeList list;
    list.Assign({
        Mode(640, 480, 16, 60, 0),
        Mode(640, 480, 32, 60, 1),
        Mode(800, 600, 16, 60, 2),
        Mode(800, 600, 32, 60, 3),
        Mode(800, 600, 16, 72, 4),
        Mode(800, 600, 32, 72, 5),
        Mode(800, 600, 32, 85, 6),
        Mode(1024, 768, 16, 60, 7),
        Mode(1024, 768, 32, desktopRefresh, -1),
    });
    return list;
}

TEST(VideoMode, FromStringTable) {
    struct Case {
        const char* text;
        uint32_t w, h, depth, refresh;
    };
    const Case cases[] = {
        {"800x600:32", 800, 600, 32, 0},
        {"1024x768:32@85", 1024, 768, 32, 85},
        {"1024x768", 1024, 768, 0, 0},
        {"800x600@60", 800, 600, 0, 0}, // a refresh rate needs a depth before it
        {"800x600:32@", 800, 600, 32, 0},
        {" 800x 600: 32@ 75", 800, 600, 32, 75}, // white space before a number is skipped
        {"800600:32", 0, 0, 0, 0},               // no 'x': nothing is read
        {"", 0, 0, 0, 0},
        {nullptr, 0, 0, 0, 0},
        {"widex600:16", 0, 600, 16, 0},                 // a part that is not a number stays 0
        {"-800x600:32", 0, 600, 32, 0},                 // unsigned: a sign is not a number
        {"99999999999x600:32", UINT32_MAX, 600, 32, 0}, // saturates instead of wrapping
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        const YVideoMode m = YVideoMode::FromString(c.text);
        EXPECT_EQ(m.width, c.w);
        EXPECT_EQ(m.height, c.h);
        EXPECT_EQ(m.depth, c.depth);
        EXPECT_EQ(m.refresh, c.refresh);
        EXPECT_EQ(m.index, -1);
    }
}

TEST(VideoMode, ToStringAndBack) {
    EXPECT_EQ(Mode(800, 600, 32, 0).ToString(), "800x600:32");
    EXPECT_EQ(Mode(800, 600, 32, 60).ToString(), "800x600:32@60");
    EXPECT_EQ(Mode(800, 600, 0, 0).ToString(), "800x600:0");
    for (const YVideoMode& m : {Mode(1280, 1024, 16, 0), Mode(1600, 1200, 32, 85)})
        EXPECT_EQ(YVideoMode::FromString(m.ToString().c_str()), m) << m.ToString();
}

TEST(VideoMode, EqualityIgnoresTheIndex) {
    EXPECT_EQ(Mode(800, 600, 32, 60, 3), Mode(800, 600, 32, 60, -1));
    EXPECT_FALSE(Mode(800, 600, 32, 60) == Mode(800, 600, 32, 75));
}

TEST(VideoModeList, AssignMovesTheLastRecordToTheDesktop) {
    const YVideoModeList list = MakeList(60);
    ASSERT_EQ(list.Modes().size(), 8u);
    EXPECT_EQ(list.Modes().back().ToString(), "1024x768:16@60");
    EXPECT_EQ(list.Desktop().ToString(), "1024x768:32@60");
    EXPECT_EQ(list.Desktop().index, -1);

    YVideoModeList empty;
    empty.Assign({});
    EXPECT_TRUE(empty.Modes().empty());
    EXPECT_EQ(empty.Desktop(), Mode(0, 0, 0, 0));
}

TEST(VideoModeList, FindBestTable) {
    struct Case {
        const char* wanted;
        uint32_t desktopRefresh;
        bool newer;
        int index;
        uint32_t refreshAfter;
    };
    const Case cases[] = {
        // No refresh asked: the desktop's (60) is wanted; 72 and 85 are above it.
        {"800x600:32", 60, true, 3, 60},
        // The fastest mode of the depth not above the wanted rate.
        {"800x600:32@75", 60, true, 5, 75},
        {"800x600:32@85", 60, true, 6, 85},
        // The first mode of the depth wins even when every rate of it is too high.
        {"800x600:32@50", 60, true, 3, 50},
        // Older systems keep the first mode of the depth.
        {"800x600:32@85", 60, false, 3, 85},
        // With neither a wanted nor a desktop rate, any rate is acceptable: the last one wins.
        {"800x600:32", 0, true, 6, 0},
        // No mode of the wanted depth: the first mode of the size.
        {"800x600:24", 60, true, 2, 60},
        {"1024x768:32", 60, true, 7, 60},
        // No mode of the wanted size: the first listed mode.
        {"1280x1024:32", 60, true, 0, 60},
        {"", 60, true, 0, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.wanted) + (c.newer ? " newer" : " older"));
        const YVideoModeList list = MakeList(c.desktopRefresh);
        YVideoMode wanted = YVideoMode::FromString(c.wanted);
        EXPECT_EQ(list.FindBest(&wanted, c.newer), c.index);
        EXPECT_EQ(wanted.refresh, c.refreshAfter);
    }
}

TEST(VideoModeList, ThisSystemCountsAsNewer) {
    EXPECT_TRUE(IsWindows2000OrLater());
    const YVideoModeList list = MakeList(60);
    YVideoMode wanted = YVideoMode::FromString("800x600:32@75");
    EXPECT_EQ(list.FindBest(&wanted), 5);
}

TEST(VideoModeList, NormalizeTable) {
    const YVideoModeList list = MakeList(60);
    EXPECT_EQ(list.Normalize("800x600:32"), "800x600:32@60");
    EXPECT_EQ(list.Normalize("800x600:32@85"), "800x600:32@85");
    EXPECT_EQ(list.Normalize("800x600:24"), "800x600:16@60");
    // A size no listed mode has, and no mode at all, give the first (smallest) mode.
    EXPECT_EQ(list.Normalize("1920x1080:32"), "640x480:16@60");
    EXPECT_EQ(list.Normalize(""), "640x480:16@60");
}

TEST(VideoModeList, NormalizeWithoutModesKeepsTheText) {
    const YVideoModeList list;
    EXPECT_EQ(list.Normalize("1024x768:32@85"), "1024x768:32@85");
    YVideoMode wanted = YVideoMode::FromString("1024x768:32");
    EXPECT_EQ(list.FindBest(&wanted), 0);
}

TEST(VideoModeList, NormalizeNeverReadsOutsideTheList) {
    // A record whose index is not its position must not send the lookup out of the list.
    YVideoModeList list;
    list.Assign({Mode(640, 480, 32, 60, 0), Mode(800, 600, 32, 60, 41), Mode(800, 600, 32, 60, -1)});
    EXPECT_EQ(list.Normalize("800x600:32"), "640x480:32@60");
}

TEST(VideoModeList, FilterTable) {
    const YVideoModeList list = MakeList(60);
    struct Case {
        YVideoMode pattern;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {Mode(0, 0, 0, 0), {"640x480:0", "800x600:0", "1024x768:0"}},
        {Mode(800, 600, 0, 0), {"800x600:16", "800x600:32"}},
        {Mode(800, 600, 32, 0), {"800x600:32@60", "800x600:32@72", "800x600:32@85"}},
        {Mode(1024, 768, 32, 0), {}},
        {Mode(1280, 1024, 0, 0), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern.ToString());
        EXPECT_EQ(Texts(list.Filter(c.pattern)), c.texts);
    }
}

TEST(VideoModeList, FilterIndicesFollowThePattern) {
    const YVideoModeList list = MakeList(60);
    for (const YVideoMode& m : list.Filter(Mode(800, 600, 0, 0))) EXPECT_EQ(m.index, -1);
    std::vector<int32_t> indices;
    for (const YVideoMode& m : list.Filter(Mode(800, 600, 32, 0))) indices.push_back(m.index);
    EXPECT_EQ(indices, (std::vector<int32_t>{3, 5, 6}));
}

TEST(VideoModeList, FilterOfOneSizeAtManyDepthsAndRatesGivesOneRecord) {
    YVideoModeList list;
    list.Assign({Mode(800, 600, 16, 60, 0), Mode(800, 600, 32, 60, 1), Mode(800, 600, 16, 75, 2),
                 Mode(800, 600, 32, 75, 3), Mode(800, 600, 32, 60, -1)});
    EXPECT_EQ(Texts(list.Filter(Mode(0, 0, 0, 0))), (std::vector<std::string>{"800x600:0"}));
}

} // namespace
