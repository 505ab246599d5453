// The framework base without a window: its message switch called directly, its loop fed through
// the message queue, and its frame counting and timers driven by a fake millisecond clock.
#include "core/framework.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <memory>
#include <string>
#include <vector>

#include "core/frame_hooks.h"
#include "platform/sys/clock.h"
#include "platform/window/interrupt_signals.h"
#include "platform/window/message_queue.h"
#include "platform/window/win_messages.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

uint32_t g_fakeNow = 0;
uint32_t FakeNow() { return g_fakeNow; }

// Records every operation the switch and the loop call, as text.
class RecordingFramework : public YFramework {
public:
    std::vector<std::string> calls;
    bool frameResult = true;
    bool recordFrames = false;
    int frames = 0;
    // A loop that never ends would hang the suite: past this many frames the loop is stopped and
    // the test fails on `runaway`.
    int frameLimit = 1000;
    bool runaway = false;

    void Quit() override {
        calls.push_back("Quit");
        YFramework::Quit();
    }
    void Close() override {
        calls.push_back("Close");
        YFramework::Close();
    }
    bool Frame() override {
        ++frames;
        if (recordFrames) calls.push_back("Frame");
        if (frames >= frameLimit) {
            runaway = true;
            YFramework::Quit();
        }
        return frameResult;
    }
    void Idle() override { calls.push_back("Idle"); }
    void OnResize(int w, int h) override { Add("OnResize", w, h); }
    void MouseMove(int x, int y) override { Add("MouseMove", x, y); }
    void MouseWheel(int delta) override { Add("MouseWheel", delta); }
    void MouseDown(int b, int x, int y) override { Add("MouseDown", b, x, y); }
    void MouseUp(int b, int x, int y) override { Add("MouseUp", b, x, y); }
    void KeyDown(int key) override {
        Add("KeyDown", key);
        YFramework::KeyDown(key);
    }
    void KeyUp(int key) override { Add("KeyUp", key); }
    void Char(int code) override { Add("Char", code); }
    void DeadChar(int code) override { Add("DeadChar", code); }
    void Timer(uint32_t id, uint32_t elapsed) override {
        Add("Timer", static_cast<int>(id), static_cast<int>(elapsed));
    }

private:
    template <class... Args>
    void Add(const char* name, Args... args) {
        std::string text = name;
        text += '(';
        const int values[] = {args...};
        for (std::size_t i = 0; i < sizeof...(args); ++i) {
            if (i) text += ',';
            text += std::to_string(values[i]);
        }
        text += ')';
        calls.push_back(text);
    }
};

plat::LPARAM Size(int w, int h) { return plat::MakeLParam(static_cast<uint16_t>(w), static_cast<uint16_t>(h)); }

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        FrameHooks() = YFrameHooks{};
        plat::ClearMessages();
        g_fakeNow = 0;
        plat::SetTimeSource(&FakeNow);
        Make(0);
    }
    void TearDown() override {
        fw.reset();
        plat::SetTimeSource(nullptr);
        plat::ClearMessages();
        FrameHooks() = YFrameHooks{};
    }
    // A new framework built at clock time `start` (its rate time).
    void Make(uint32_t start) {
        fw.reset();
        g_fakeNow = start;
        fw = std::make_unique<RecordingFramework>();
    }
    plat::LRESULT Send(uint32_t message, plat::WPARAM wParam = 0, plat::LPARAM lParam = 0) {
        return fw->OnMessage(message, wParam, lParam);
    }
    void TickAt(uint32_t now) {
        g_fakeNow = now;
        fw->TickFrame();
    }

    std::unique_ptr<RecordingFramework> fw;
};

TEST_F(FrameworkTest, KeyMessagesHoldAndReleaseTheirKey) {
    using namespace plat;
    struct Pair {
        uint32_t down, up;
    };
    for (const Pair p : {Pair{WM_KEYDOWN, WM_KEYUP}, Pair{WM_SYSKEYDOWN, WM_SYSKEYUP}}) {
        for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
            SCOPED_TRACE(testing::Message() << "message " << p.down << " key " << key);
            fw->calls.clear();
            Send(p.down, key);
            for (int other : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
                EXPECT_EQ(fw->KeyState(other), other == key) << other;
                EXPECT_EQ(IsKeyDown(other), other == key) << other;
            }
            Send(p.up, key);
            EXPECT_FALSE(IsKeyDown(key));
            EXPECT_THAT(fw->calls,
                        ElementsAre("KeyDown(" + std::to_string(key) + ")", "KeyUp(" + std::to_string(key) + ")"));
        }
    }
    // Keys are held independently of each other.
    Send(WM_KEYDOWN, VK_SHIFT);
    Send(WM_KEYDOWN, VK_CONTROL);
    Send(WM_KEYUP, VK_SHIFT);
    EXPECT_FALSE(IsKeyDown(VK_SHIFT));
    EXPECT_TRUE(IsKeyDown(VK_CONTROL));
    // A code past the table is not folded onto a key of the table.
    Send(WM_KEYDOWN, 256 + VK_SHIFT);
    EXPECT_FALSE(IsKeyDown(VK_SHIFT));
}

TEST_F(FrameworkTest, CharactersReachTheirOperationsThroughTheWindowProcedure) {
    YFramework::WindowProc(nullptr, plat::WM_CHAR, 'a', 0);
    YFramework::WindowProc(nullptr, plat::WM_DEADCHAR, 0xB4, 0);
    EXPECT_THAT(fw->calls, ElementsAre("Char(97)", "DeadChar(180)"));
}

TEST_F(FrameworkTest, MouseButtonsKeepOneBitEach) {
    using namespace plat;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, PackMousePos(10, 20));
    EXPECT_EQ(fw->MouseButtons(), 1u);
    Send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, PackMousePos(30, 40));
    EXPECT_EQ(fw->MouseButtons(), 3u);
    Send(WM_LBUTTONUP, MK_RBUTTON, PackMousePos(50, 60));
    EXPECT_EQ(fw->MouseButtons(), 2u);
    // The middle button is not handled.
    Send(WM_MBUTTONDOWN, MK_RBUTTON | MK_MBUTTON, PackMousePos(1, 1));
    EXPECT_EQ(fw->MouseButtons(), 2u);
    Send(WM_RBUTTONUP, 0, PackMousePos(70, 80));
    EXPECT_EQ(fw->MouseButtons(), 0u);
    EXPECT_EQ(fw->MouseX(), 70);
    EXPECT_EQ(fw->MouseY(), 80);
    EXPECT_THAT(fw->calls,
                ElementsAre("MouseDown(1,10,20)", "MouseDown(2,30,40)", "MouseUp(1,50,60)", "MouseUp(2,70,80)"));
}

TEST_F(FrameworkTest, MousePositionsLeftOrAboveTheWindowStayNegative) {
    using namespace plat;
    Send(WM_MOUSEMOVE, MK_LBUTTON, PackMousePos(-5, -300));
    EXPECT_EQ(fw->MouseX(), -5);
    EXPECT_EQ(fw->MouseY(), -300);
    Send(WM_LBUTTONUP, 0, PackMousePos(-1, 7));
    EXPECT_THAT(fw->calls, ElementsAre("MouseMove(-5,-300)", "MouseUp(1,-1,7)"));
}

TEST_F(FrameworkTest, WheelDeltaIsSigned) {
    using namespace plat;
    Send(WM_MOUSEWHEEL, MakeWParam(0, static_cast<uint16_t>(-WHEEL_DELTA)), PackMousePos(5, 5));
    Send(WM_MOUSEWHEEL, MakeWParam(MK_SHIFT, 2 * WHEEL_DELTA), PackMousePos(5, 5));
    EXPECT_THAT(fw->calls, ElementsAre("MouseWheel(-120)", "MouseWheel(240)"));
}

TEST_F(FrameworkTest, ScreenSaverAndMonitorPowerRequestsAreSwallowed) {
    using namespace plat;
    for (WPARAM command : {SC_SCREENSAVE, SC_MONITORPOWER, SC_MONITORPOWER | 2}) {
        EXPECT_EQ(Send(WM_SYSCOMMAND, command, 2), 0) << command;
    }
    EXPECT_THAT(fw->calls, IsEmpty());
    EXPECT_TRUE(fw->IsActive());
}

TEST_F(FrameworkTest, CloseMessageEndsTheLoopThroughQuit) {
    plat::PostMessage(plat::WM_CLOSE, 0, 0);
    EXPECT_FALSE(fw->Run());
    EXPECT_FALSE(fw->runaway);
    EXPECT_FALSE(fw->IsRunning());
    EXPECT_THAT(fw->calls, ElementsAre("Close", "Quit"));
}

// An interrupt or termination request that arrives while the program still starts (before the
// loop, with no window at all) is neither lost nor the end of the process: the loop's first pass
// closes the program through its close operation, once per signal.
TEST_F(FrameworkTest, SignalsBeforeTheLoopStartsCloseTheProgramOnce) {
    plat::WatchInterruptSignals();
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        Make(0);
        ASSERT_EQ(std::raise(signal), 0);
        EXPECT_FALSE(fw->Run());
        EXPECT_FALSE(fw->runaway);
        EXPECT_THAT(fw->calls, ElementsAre("Close", "Quit"));
        plat::Msg m;
        EXPECT_FALSE(plat::PeekMessage(m)) << "the signal was handed out once";
    }
}

TEST_F(FrameworkTest, F10EndsTheLoopAndOtherKeysDoNot) {
    plat::PostMessage(plat::WM_KEYDOWN, plat::VK_F9, 0);
    plat::PostMessage(plat::WM_SYSKEYDOWN, plat::VK_F10, 0);
    fw->recordFrames = true;
    fw->Run();
    EXPECT_FALSE(fw->runaway);
    EXPECT_FALSE(fw->IsRunning());
    // Both messages in one pass, then its frame.
    EXPECT_THAT(fw->calls, ElementsAre("KeyDown(120)", "KeyDown(121)", "Quit", "Frame"));
}

TEST_F(FrameworkTest, QuitMessageEndsThePassAfterTheMessagesBeforeIt) {
    plat::PostMessage(plat::WM_KEYDOWN, 'A', 0);
    plat::PostQuitMessage(0);
    fw->recordFrames = true;
    EXPECT_FALSE(fw->Run());
    EXPECT_FALSE(fw->runaway);
    EXPECT_FALSE(fw->IsRunning());
    // The quit message ends the pass that handled the messages before it: no frame, no Quit.
    EXPECT_THAT(fw->calls, ElementsAre("KeyDown(65)"));
}

TEST_F(FrameworkTest, PassRunsIdleOnlyWithoutAMessageThenOneTimerThenAFrame) {
    fw->recordFrames = true;
    fw->AddTimer(7, 0);
    fw->AddTimer(8, 0);
    fw->PumpOnce();
    plat::PostMessage(plat::WM_CHAR, 'x', 0);
    fw->PumpOnce();
    EXPECT_THAT(fw->calls, ElementsAre("Idle", "Timer(7,0)", "Frame", "Char(120)", "Timer(8,0)", "Frame"));
}

TEST_F(FrameworkTest, ABurstOfTypingIsHandledBeforeTheNextFrameAndF10EndsTheLoopAtOnce) {
    // 2,000 typed characters, then F10, arriving faster than frames: posted in bursts that fill
    // the queue, as the window layer fills it from SDL's events.
    fw->recordFrames = true;
    int typed = 0;
    const int framesBefore = fw->frames;
    while (typed < 2000) {
        while (typed < 2000 && plat::PostMessage(plat::WM_CHAR, 'a' + typed % 26, 1)) ++typed;
        fw->PumpOnce();
    }
    plat::PostMessage(plat::WM_KEYDOWN, 'Q', 1);
    plat::PostMessage(plat::WM_KEYUP, 'Q', 1);
    plat::PostMessage(plat::WM_SYSKEYDOWN, plat::VK_F10, 1);
    fw->PumpOnce();
    // One frame per full queue (two here), and one for the pass with F10.
    EXPECT_LE(fw->frames - framesBefore, 3);
    EXPECT_EQ(std::count(fw->calls.begin(), fw->calls.end(), "Frame"), fw->frames - framesBefore);
    // Each character reached Char, in order; the key pressed and released within one pass reached
    // both KeyDown and KeyUp.
    std::vector<std::string> chars;
    for (const std::string& c : fw->calls)
        if (c.rfind("Char(", 0) == 0) chars.push_back(c);
    ASSERT_EQ(chars.size(), 2000u);
    EXPECT_EQ(chars.front(), "Char(97)");
    EXPECT_EQ(chars.back(), "Char(" + std::to_string('a' + 1999 % 26) + ")");
    const auto down = std::find(fw->calls.begin(), fw->calls.end(), "KeyDown(81)");
    ASSERT_NE(down, fw->calls.end());
    EXPECT_EQ(*(down + 1), "KeyUp(81)");
    EXPECT_NE(std::find(fw->calls.begin(), fw->calls.end(), "Quit"), fw->calls.end());
}

TEST_F(FrameworkTest, TimersFireOneAtATimeInListOrderWhenDue) {
    fw->AddTimer(1, 100);
    fw->AddTimer(2, 50);
    fw->AddTimer(3, 500);
    g_fakeNow = 40;
    fw->FireTimers();
    EXPECT_THAT(fw->calls, IsEmpty());
    g_fakeNow = 200;
    for (int i = 0; i < 3; ++i) fw->FireTimers();
    EXPECT_THAT(fw->calls, ElementsAre("Timer(1,200)", "Timer(2,200)"));
    fw->calls.clear();
    g_fakeNow = 500; // due time reached exactly
    fw->FireTimers();
    fw->FireTimers();
    EXPECT_THAT(fw->calls, ElementsAre("Timer(3,500)"));
}

TEST_F(FrameworkTest, SizeSetsClientSizeProjectionAspectAndActivity) {
    using namespace plat;
    // No window: the screen aspect is 4/3, so the projection aspect is the client's own.
    Send(WM_SIZE, SIZE_RESTORED, Size(1000, 500));
    EXPECT_EQ(fw->ClientWidth(), 1000);
    EXPECT_EQ(fw->ClientHeight(), 500);
    EXPECT_FLOAT_EQ(fw->ProjectionAspect(), 2.0f);
    EXPECT_TRUE(fw->IsActive());

    Send(WM_SIZE, SIZE_MINIMIZED, Size(0, 0));
    EXPECT_FALSE(fw->IsActive());
    EXPECT_EQ(fw->ClientWidth(), 0);
    EXPECT_FLOAT_EQ(fw->ProjectionAspect(), 2.0f);

    Send(WM_SIZE, SIZE_RESTORED, Size(800, 0));
    EXPECT_FALSE(fw->IsActive());

    Send(WM_SIZE, SIZE_RESTORED, Size(800, 600));
    EXPECT_TRUE(fw->IsActive());
    EXPECT_FLOAT_EQ(fw->ProjectionAspect(), 4.0f / 3.0f);
    // An empty client area never reaches OnResize.
    EXPECT_THAT(fw->calls, ElementsAre("OnResize(1000,500)", "OnResize(800,600)"));
}

TEST_F(FrameworkTest, ActivationFollowsTheMinimisedWordOnly) {
    using namespace plat;
    std::vector<bool> told;
    FrameHooks().setSoundAppActive = [&told](bool active) { told.push_back(active); };
    struct Case {
        WPARAM wParam;
        bool active;
    };
    const Case cases[] = {
        {MakeWParam(WA_ACTIVE, 1), false},
        {MakeWParam(WA_INACTIVE, 0), true}, // an inactive, visible window keeps running frames
        {MakeWParam(WA_INACTIVE, 1), false},
        {MakeWParam(WA_CLICKACTIVE, 0), true},
    };
    std::vector<bool> expected;
    for (const Case& c : cases) {
        Send(WM_ACTIVATE, c.wParam);
        EXPECT_EQ(fw->IsActive(), c.active) << std::hex << c.wParam;
        expected.push_back(c.active);
    }
    EXPECT_EQ(told, expected);
}

TEST_F(FrameworkTest, MinimisedWindowRunsNoFramesAndKeepsItsRate) {
    using namespace plat;
    for (uint32_t t : {100u, 200u, 300u, 400u, 500u}) TickAt(t);
    TickAt(1100); // 6 frames in 1100 ms
    EXPECT_EQ(fw->frames, 6);
    const float rate = 6 * 1000.0f / 1100.0f;
    EXPECT_FLOAT_EQ(fw->FramesPerSecond(), rate);

    Send(WM_SIZE, SIZE_MINIMIZED, Size(0, 0));
    for (uint32_t t : {1500u, 2000u, 2500u}) TickAt(t);
    Send(WM_PAINT);
    EXPECT_EQ(fw->frames, 6);
    EXPECT_FLOAT_EQ(fw->FramesPerSecond(), rate);

    // Restored: frames run again, and the first counted one after a second updates the rate.
    Send(WM_SIZE, SIZE_RESTORED, Size(800, 600));
    TickAt(2600);
    EXPECT_EQ(fw->frames, 7);
    EXPECT_FLOAT_EQ(fw->FramesPerSecond(), 1 * 1000.0f / 1500.0f);
    Send(WM_PAINT); // a paint message runs a frame too
    EXPECT_EQ(fw->frames, 8);
}

TEST_F(FrameworkTest, RateCountsFramesThatDrewAndUpdatesPastOneSecond) {
    struct Step {
        uint32_t time;
        bool drew;
    };
    struct Case {
        const char* what;
        uint32_t start;
        std::vector<Step> steps;
        float rate;
    };
    const Case cases[] = {
        {"frames that did not draw are not counted", 0, {{500, false}, {1200, false}, {1300, true}}, 1000.0f / 1300.0f},
        {"exactly one second does not update", 0, {{1000, true}}, 0.0f},
        {"the first counted frame past one second updates", 0, {{1000, true}, {1001, true}}, 2000.0f / 1001.0f},
        {"counting restarts at an update",
         0,
         {{600, true}, {1100, true}, {1500, true}, {2300, true}},
         2000.0f / 1200.0f},
        {"the clock wraps", 0xFFFFFE00u, {{0x300u, true}}, 1000.0f / 1280.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Make(c.start);
        for (const Step& s : c.steps) {
            fw->frameResult = s.drew;
            TickAt(s.time);
        }
        EXPECT_EQ(fw->frames, static_cast<int>(c.steps.size())); // Frame ran each time
        EXPECT_FLOAT_EQ(fw->FramesPerSecond(), c.rate);
    }
}

TEST_F(FrameworkTest, WindowedMinimumSizeFollowsTheScreenAspect) {
    plat::MinMaxInfo info;
    Send(plat::WM_GETMINMAXINFO, 0, reinterpret_cast<plat::LPARAM>(&info));
    EXPECT_EQ(info.minTrackSize.x, 320);
    EXPECT_EQ(info.minTrackSize.y, 240); // 320 / (4/3)
}

TEST_F(FrameworkTest, SizingMessageKeepsTheScreenAspect) {
    plat::Rect r{10, 20, 411, 40}; // dragged to a client of 401 x 20 by its right edge
    Send(plat::WM_SIZING, plat::WMSZ_RIGHT, reinterpret_cast<plat::LPARAM>(&r));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 411);
    EXPECT_EQ(r.bottom, 20 + 300); // 401 / (4/3) = 300.75, truncated
}

} // namespace
