#include "editor/editor_frame_draw.h"

#include <gtest/gtest.h>

#include "editor/editor_level.h"

namespace {

TEST(EditorFrameClock, FirstStepIsAHundredthAndStepsAreCapped) {
    EditorFrameClock clock;
    EXPECT_FLOAT_EQ(clock.Step(123456), 0.01f);
    EXPECT_FLOAT_EQ(clock.Step(123476), 0.02f);
    EXPECT_FLOAT_EQ(clock.Step(125476), 0.05f) << "a two-second pause";
    EXPECT_FLOAT_EQ(clock.Step(125476), 0.0f);
}

TEST(EditorCursorPulse, RisesAndFallsBetweenThreeQuartersAndOne) {
    EditorCursorPulse pulse;
    EXPECT_FLOAT_EQ(pulse.Update(0.0f), 0.75f);
    EXPECT_FLOAT_EQ(pulse.Update(0.25f), 0.875f);
    EXPECT_FLOAT_EQ(pulse.Update(10.0f), 1.0f) << "at most half a period per frame";
    EXPECT_FLOAT_EQ(pulse.Update(0.1f), 0.95f) << "falling";
    EXPECT_FLOAT_EQ(pulse.Update(0.25f), 0.825f);
    EXPECT_FLOAT_EQ(pulse.Update(0.25f), 0.8f) << "reflected at 0: rising again";
    for (int i = 0; i < 1000; ++i) {
        const float b = pulse.Update(0.013f * static_cast<float>(i % 7));
        ASSERT_GE(b, 0.75f);
        ASSERT_LE(b, 1.0f);
    }
}

TEST(EditorCursorColor, GreenWhereTheActionCanAct) {
    struct Case {
        int mode;
        bool hit;
        bool green;
    } cases[] = {
        {EDIT_MODE_NEW, false, true},  {EDIT_MODE_NEW, true, false},  {EDIT_MODE_DEL, true, true},
        {EDIT_MODE_DEL, false, false}, {EDIT_MODE_BONUS, true, true}, {EDIT_MODE_MAT, false, false},
        {EDIT_MODE_GLUE, true, true},
    };
    for (const Case& c : cases) {
        float colour[4];
        EditorCursorColor(c.mode, c.hit, colour);
        EXPECT_EQ(colour[0], c.green ? 0.0f : 1.0f) << c.mode << " " << c.hit;
        EXPECT_EQ(colour[1], c.green ? 1.0f : 0.0f) << c.mode << " " << c.hit;
        EXPECT_EQ(colour[2], 0.0f);
        EXPECT_EQ(colour[3], 1.0f);
    }
}

} // namespace
