// Input scripts from the game's input recordings: what each recorded message does to the frames,
// and damaged files refused with a reason (by the reader, and by playrun with its exit code and a
// logged line) instead of a crash or a huge allocation.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/window/message_recording.h"
#include "platform/window/win_messages.h"
#include "support/temp_dir.h"
#include "world/play/play_script_file.h"

namespace {

using plat::RecordedMessage;

TEST(PlayScriptFile, RecordedMessagesBecomeFrames) {
    const std::vector<RecordedMessage> messages = {
        // Before any size message the window is 800 wide.
        {0, {plat::WM_MOUSEMOVE, 0, plat::PackMousePos(600, 10)}},
        {5, {plat::WM_KEYDOWN, plat::VK_SPACE, 0}},
        {20, {plat::WM_SIZE, 0, plat::MakeLParam(1000, 700)}},
        {25, {plat::WM_MOUSEMOVE, 0, plat::PackMousePos(250, 10)}},
        // The last move of a frame wins.
        {39, {plat::WM_MOUSEMOVE, 0, plat::PackMousePos(750, 10)}},
        {40, {plat::WM_LBUTTONDOWN, 1, plat::PackMousePos(750, 10)}},
        {41, {plat::WM_LBUTTONUP, 0, plat::PackMousePos(750, 10)}},
        {60, {plat::WM_KEYDOWN, plat::VK_UP, 0}},
        {61, {plat::WM_MOUSEWHEEL, plat::MakeWParam(0, 240), 0}},
        {80, {plat::WM_KEYDOWN, plat::VK_DOWN, 0}},
        // The right button (the camera's) and other keys are no input of the racket.
        {100, {plat::WM_RBUTTONDOWN, 2, plat::PackMousePos(10, 10)}},
        {101, {plat::WM_KEYDOWN, 'A', 0}},
        // A captured mouse left of the window: a target below -1 (the racket takes the near end).
        {120, {plat::WM_MOUSEMOVE, 0, plat::PackMousePos(-40, 10)}},
    };
    YPlayScript script;
    std::string error;
    ASSERT_TRUE(ScriptFromRecording(messages, script, error)) << error;
    ASSERT_EQ(script.frames.size(), 7u);
    struct Want {
        float target; // NaN: no move
        bool click;
        float aim;
    };
    const Want want[] = {
        {0.5f, true, 0.0f},  {0.5f, false, 0.0f}, {NAN, true, 0.0f},     {NAN, false, -5.0f},
        {NAN, false, -5.0f}, {NAN, false, 0.0f},  {-1.08f, false, 0.0f},
    };
    for (std::size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const YPlayFrame& f = script.frames[i];
        if (std::isnan(want[i].target)) {
            EXPECT_TRUE(std::isnan(f.target)) << f.target;
        } else {
            EXPECT_FLOAT_EQ(f.target, want[i].target);
        }
        EXPECT_EQ(f.click, want[i].click);
        EXPECT_FLOAT_EQ(f.aim, want[i].aim);
    }
}

class DamagedScripts : public ::testing::Test {
protected:
    std::string Write(const char* name, const std::string& bytes) {
        dir_.Write(name, bytes);
        return dir_.File(name);
    }
    static std::string Valid(const std::vector<RecordedMessage>& messages) { return plat::FormatRecording(messages); }

    testsupport::TempDir dir_;
};

TEST_F(DamagedScripts, AreRefusedWithAReason) {
    const std::vector<RecordedMessage> one = {{0, {plat::WM_LBUTTONDOWN, 1, 0}}};
    const std::string good = Valid(one);
    const std::string oversized = dir_.File("oversized.rec");
    {
        dir_.Write("oversized.rec", good);
        std::filesystem::resize_file(
            oversized, plat::RECORDING_HEADER_BYTES + (plat::MAX_RECORDED_MESSAGES + 1) * plat::RECORDED_MESSAGE_BYTES);
    }
    struct Row {
        const char* name;
        std::string path;
        const char* reason;
    };
    const Row rows[] = {
        {"missing", dir_.File("missing.rec"), "missing"},
        {"empty", Write("empty.rec", ""), "not an input recording"},
        {"not a recording", Write("text.rec", "x=1\ny=2\n"), "not an input recording"},
        {"truncated", Write("cut.rec", good.substr(0, good.size() - 3)), "truncated"},
        {"oversized", oversized, "larger than any recording"},
        // A valid file whose last message lies days after the first: one frame each would not fit.
        {"too long",
         Write("long.rec", Valid({{0, {plat::WM_LBUTTONDOWN, 1, 0}}, {4000000000u, {plat::WM_LBUTTONUP, 0, 0}}})),
         "plays longer than"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        YPlayScript script;
        script.frames.assign(3, YPlayFrame{0.0f, true});
        std::string error;
        EXPECT_FALSE(LoadPlayScript(row.path, script, error));
        EXPECT_NE(error.find(row.reason), std::string::npos) << error;
        EXPECT_TRUE(script.frames.empty());
    }
}

#ifdef KORVELIN_PLAYRUN
// playrun given a damaged script: exit code 3, the reason on the error output and in its log.
TEST_F(DamagedScripts, PlayrunExitsWithTheReasonLogged) {
    const std::string cut = Write("cut.rec", Valid({{0, {plat::WM_LBUTTONDOWN, 1, 0}}}).substr(0, 20));
    const std::string command = "cd '" + dir_.str() + "' && '" + KORVELIN_PLAYRUN + "' --script '" + cut +
                                "' 'levels\\01_first_steps.lev' 100 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status)) << output;
    EXPECT_EQ(WEXITSTATUS(status), 3) << output;
    EXPECT_NE(output.find("truncated"), std::string::npos) << output;
    const std::string logged = dir_.Read("playrun_log.txt");
    EXPECT_NE(logged.find("Input script not played: "), std::string::npos) << logged;
}
#endif

} // namespace
