#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/log.h"
#include "core/start_choice.h"
#include "core/system_check.h"
#include "platform/sys/files.h"
#include "support/temp_dir.h"

TEST(StartChoice, OnlyTheFirstTwoCharactersCount) {
    struct Case {
        const char* text;
        bool other;
        StartChoice want;
    };
    const Case cases[] = {
        {"-2", true, StartChoice::Game},  {"-E", true, StartChoice::Editor}, {"-e", false, StartChoice::Editor},
        {"", true, StartChoice::Exit},    {"", false, StartChoice::Game},    {"-", false, StartChoice::Game},
        {"-", true, StartChoice::Exit},   {"-2x", true, StartChoice::Game},  {"-editor", true, StartChoice::Editor},
        {"x-e", true, StartChoice::Exit}, {"-3", false, StartChoice::Game},
    };
    for (const Case& c : cases) EXPECT_EQ(ChooseStart(c.text, c.other), c.want) << '"' << c.text << '"';
}

TEST(StartChoice, CommandTextJoinsArguments) {
    char a0[] = "korvelin", a1[] = "-e", a2[] = "x";
    char* argv[] = {a0, a1, a2};
    EXPECT_EQ(CommandText(1, argv), "");
    EXPECT_EQ(CommandText(3, argv), "-e x");
}

TEST(SystemCheck, VersionPackingAndText) {
    struct Case {
        int major, minor;
        char letter;
        uint32_t packed;
        const char* text;
    };
    const Case cases[] = {
        {8, 1, ' ', 0x80100, "8.1"},  {8, 1, 'a', 0x80101, "8.1a"}, {9, 0, 'C', 0x90003, "9.0c"},
        {8, 0, 'z', 0x8001A, "8.0z"}, {6, 1, ' ', 0x60100, "6.1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PackDirectXVersion(c.major, c.minor, c.letter), c.packed);
        EXPECT_EQ(DirectXVersionText(c.major, c.minor, c.letter), c.text);
    }
    EXPECT_EQ(DirectXVersionText(12345, 67890, 'a'), "12345.678"); // cut to the 10-byte buffer
}

namespace {

struct CheckRun {
    bool result;
    std::string log;
    std::vector<std::string> boxes;
};

CheckRun RunCheck(YGraphicsVersion version) {
    TempDir tmp;
    const std::string logPath = (tmp.path() / "log.txt").string();
    LogReopen(logPath);
    CheckRun run;
    YSystemProbe probe;
    probe.osLine = [] { return std::string("System version: TestOS 1.0"); };
    probe.graphicsVersion = [version] { return version; };
    probe.messageBox = [&run](const char* text, const char* title) {
        run.boxes.push_back(std::string(title) + ": " + text);
    };
    run.result = checkSystem(probe);
    LogReopen("");
    plat::ReadFile(logPath, run.log, 1 << 20, false);
    return run;
}

} // namespace

TEST(SystemCheck, RefusesOlderThanEightOne) {
    struct Case {
        YGraphicsVersion v;
        bool ok;
        const char* log;
        const char* box;
    };
    const Case cases[] = {
        {{true, 8, 1, ' '}, true, "System version: TestOS 1.0\nDirectX v8.1 installed\n", nullptr},
        {{true, 9, 0, 'c'}, true, "System version: TestOS 1.0\nDirectX v9.0c installed\n", nullptr},
        {{true, 8, 0, 'b'},
         false,
         "System version: TestOS 1.0\nDirectX v8.0b installed\n",
         "DirectX Version Error: Requires installed DirectX v8.1 or higher"},
        {{true, 6, 1, ' '},
         false,
         "System version: TestOS 1.0\nDirectX v6.1 installed\n",
         "DirectX Version Error: Requires installed DirectX v8.1 or higher"},
        {{false, 0, 0, ' '},
         false,
         "System version: TestOS 1.0\nDirectX not installed.\n",
         "DirectX Version Error: DirectX not installed."},
    };
    for (const Case& c : cases) {
        CheckRun run = RunCheck(c.v);
        EXPECT_EQ(run.result, c.ok);
        EXPECT_EQ(run.log, c.log);
        if (c.box) {
            ASSERT_EQ(run.boxes.size(), 1u);
            EXPECT_EQ(run.boxes[0], c.box);
        } else {
            EXPECT_TRUE(run.boxes.empty());
        }
    }
}
