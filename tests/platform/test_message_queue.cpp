#include "platform/window/message_queue.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/window/win_messages.h"

namespace {

using plat::Msg;

std::vector<Msg> Drain() {
    std::vector<Msg> out;
    Msg m;
    while (plat::PeekMessage(m)) out.push_back(m);
    return out;
}

class MessageQueueTest : public ::testing::Test {
protected:
    void SetUp() override { plat::ClearMessages(); }
    void TearDown() override { plat::ClearMessages(); }
};

TEST_F(MessageQueueTest, DeliversInOrderAndQuitOnlyAfterEverythingElse) {
    plat::PostMessage(plat::WM_KEYDOWN, 13, 1);
    plat::PostQuitMessage(7);
    plat::PostMessage(plat::WM_CHAR, 13, 1);
    const std::vector<Msg> got = Drain();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].message, plat::WM_KEYDOWN);
    EXPECT_EQ(got[1].message, plat::WM_CHAR);
    EXPECT_EQ(got[2].message, plat::WM_QUIT);
    EXPECT_EQ(got[2].wParam, 7u);
    Msg m;
    EXPECT_FALSE(plat::PeekMessage(m)) << "the quit message comes out once";
}

TEST_F(MessageQueueTest, MouseMovesMergeIntoTheNewestUnlessAButtonLiesBetween) {
    struct Step {
        uint32_t message;
        int x, y;
    };
    struct Case {
        const char* what;
        std::vector<Step> posted;
        std::vector<Step> expected;
    };
    using plat::WM_CHAR;
    using plat::WM_LBUTTONDOWN;
    using plat::WM_MOUSEMOVE;
    const Case cases[] = {
        {"a burst of moves",
         {{WM_MOUSEMOVE, 1, 1}, {WM_MOUSEMOVE, 2, 2}, {WM_MOUSEMOVE, 3, 3}},
         {{WM_MOUSEMOVE, 3, 3}}},
        {"a button keeps the move before it",
         {{WM_MOUSEMOVE, 1, 1}, {WM_LBUTTONDOWN, 1, 1}, {WM_MOUSEMOVE, 5, 5}, {WM_MOUSEMOVE, 6, 6}},
         {{WM_MOUSEMOVE, 1, 1}, {WM_LBUTTONDOWN, 1, 1}, {WM_MOUSEMOVE, 6, 6}}},
        {"a key between moves does not stop the merge",
         {{WM_MOUSEMOVE, 1, 1}, {WM_CHAR, 0, 0}, {WM_MOUSEMOVE, 4, 4}},
         {{WM_CHAR, 0, 0}, {WM_MOUSEMOVE, 4, 4}}},
    };
    for (const Case& c : cases) {
        plat::ClearMessages();
        for (const Step& s : c.posted) {
            if (s.message == WM_MOUSEMOVE)
                plat::PostMouseMove(0, plat::PackMousePos(s.x, s.y));
            else
                plat::PostMessage(s.message, 0, plat::PackMousePos(s.x, s.y));
        }
        const std::vector<Msg> got = Drain();
        ASSERT_EQ(got.size(), c.expected.size()) << c.what;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].message, c.expected[i].message) << c.what << " #" << i;
            EXPECT_EQ(plat::MouseX(got[i].lParam), c.expected[i].x) << c.what << " #" << i;
            EXPECT_EQ(plat::MouseY(got[i].lParam), c.expected[i].y) << c.what << " #" << i;
        }
    }
}

TEST_F(MessageQueueTest, OnePaintWaitsAtMostAndDiscardRemovesOnlyItsId) {
    plat::PostPaint();
    plat::PostMessage(plat::WM_SIZE, 0, 0);
    plat::PostPaint();
    plat::PostMessage(plat::WM_KEYUP, 65, 0);
    plat::DiscardMessages(plat::WM_SIZE);
    const std::vector<Msg> got = Drain();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, plat::WM_PAINT);
    EXPECT_EQ(got[1].message, plat::WM_KEYUP);
}

TEST_F(MessageQueueTest, AFullQueueRefusesAndRecoversAfterReading) {
    for (size_t i = 0; i < plat::MESSAGE_QUEUE_CAPACITY; ++i) {
        ASSERT_TRUE(plat::PostMessage(plat::WM_USER, i, 0));
    }
    EXPECT_FALSE(plat::PostMessage(plat::WM_USER, 9999, 0));
    EXPECT_EQ(plat::FreeMessageSlots(), 0u);
    Msg m;
    ASSERT_TRUE(plat::PeekMessage(m));
    EXPECT_EQ(m.wParam, 0u);
    EXPECT_TRUE(plat::PostMessage(plat::WM_USER, 5000, 0)) << "a slot read frees a slot";
    const std::vector<Msg> rest = Drain();
    ASSERT_EQ(rest.size(), plat::MESSAGE_QUEUE_CAPACITY);
    EXPECT_EQ(rest.front().wParam, 1u);
    EXPECT_EQ(rest.back().wParam, 5000u);
}

TEST(MessagePacking, MousePositionsStaySignedAndWheelDeltasToo) {
    struct Case {
        int x, y;
    };
    for (const Case c : {Case{0, 0}, Case{799, 599}, Case{-1, -300}, Case{40000, -40000}}) {
        const plat::LPARAM l = plat::PackMousePos(c.x, c.y);
        const int ex = c.x > 32767 ? 32767 : c.x;
        const int ey = c.y < -32768 ? -32768 : c.y;
        EXPECT_EQ(plat::MouseX(l), ex);
        EXPECT_EQ(plat::MouseY(l), ey);
    }
    EXPECT_EQ(plat::WheelDelta(plat::MakeWParam(0, static_cast<uint16_t>(-120))), -120);
    EXPECT_EQ(plat::WheelDelta(plat::MakeWParam(plat::MK_LBUTTON, 240)), 240);
}

} // namespace
