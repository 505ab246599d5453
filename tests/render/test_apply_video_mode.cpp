// The configured video mode resolved at start: a mode the display does not offer gives way to
// one it does, and the text given up is written to the log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/framework.h"
#include "core/init.h"
#include "core/log.h"
#include "render/framework_start.h"
#include "render/video_mode.h"
#include "support/temp_dir.h"

namespace {

YVideoMode Mode(uint32_t w, uint32_t h, uint32_t depth, uint32_t refresh, int32_t index) {
    YVideoMode m;
    m.width = w;
    m.height = h;
    m.depth = depth;
    m.refresh = refresh;
    m.index = index;
    return m;
}

class ApplyVideoModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogReopen("log.txt");
        saved_ = g_VideoModes;
        savedText_ = GetInit().videoMode;
        g_VideoModes.Assign({Mode(640, 480, 32, 60, 0), Mode(800, 600, 32, 60, 1), Mode(1024, 768, 32, 60, 2),
                             Mode(1024, 768, 32, 60, -1)});
    }
    void TearDown() override {
        g_VideoModes = saved_;
        GetInit().videoMode = savedText_;
        LogReopen("");
    }
    std::string Log() const { return dir.Read("log.txt"); }

    testsupport::TempDir dir{true};
    YFramework framework;

private:
    YVideoModeList saved_;
    std::string savedText_;
};

TEST_F(ApplyVideoModeTest, AModeNotOfferedIsReplacedAndLogged) {
    struct Case {
        const char* text;
        const char* used;
    };
    const Case cases[] = {
        {"0x0:32", "640x480:32@60"},       {"100000x100000:32", "640x480:32@60"},
        {"junk", "640x480:32@60"},         {"", "640x480:32@60"},
        {"1024x-768:32", "640x480:32@60"}, {"800x600:16", "800x600:32@60"}, // the size is offered, the depth is not
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        LogReopen("log.txt");
        ApplyVideoMode(framework, k.text);
        EXPECT_EQ(GetInit().videoMode, k.used);
        EXPECT_EQ(framework.VideoMode().ToString(), k.used);
        const std::string line = std::string("Video mode \"") + k.text + "\" is not available, using " + k.used;
        EXPECT_NE(Log().find(line), std::string::npos) << Log();
    }
}

TEST_F(ApplyVideoModeTest, AnOfferedModeIsUsedWithoutALogLine) {
    for (const char* text : {"800x600:32", "1024x768:32@60", "1024x768", "640x480:32@85"}) {
        SCOPED_TRACE(text);
        LogReopen("log.txt");
        ApplyVideoMode(framework, text);
        EXPECT_EQ(framework.VideoMode().width, YVideoMode::FromString(text).width);
        EXPECT_EQ(Log().find("Video mode"), std::string::npos) << Log();
    }
}

TEST_F(ApplyVideoModeTest, ALongRejectedTextIsLoggedCutShortOnOneLine) {
    const std::string text = std::string(5000, '9') + "x" + std::string(5000, '9');
    ApplyVideoMode(framework, text);
    EXPECT_EQ(GetInit().videoMode, "640x480:32@60");
    const std::string log = Log();
    EXPECT_NE(log.find("Video mode \"" + std::string(80, '9') + "\" is not available, using 640x480:32@60"),
              std::string::npos)
        << log;
}

} // namespace
