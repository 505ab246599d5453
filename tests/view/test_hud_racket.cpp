// What the HUD reads from the racket: a grenade in hand shows its remaining throws, anything
// else held shows none; the running effects and the lives come through as they stand.
#include <gtest/gtest.h>

#include "shell/hud.h"
#include "world/weapons/grenade.h"
#include "world/world_fixture.h"

namespace {

class HudRacketTest : public worldtest::WorldTest {};

TEST_F(HudRacketTest, AHeldGrenadeShowsItsThrowsLeft) {
    EXPECT_EQ(ReadHudValues().grenadeCharges, -1);
    racket->TakeGrenade(new YGrenade(4));
    EXPECT_EQ(ReadHudValues().grenadeCharges, 4);
    racket->ReleaseTacked(false);
    EXPECT_EQ(ReadHudValues().grenadeCharges, -1);
}

TEST_F(HudRacketTest, EffectsLivesAndScoreComeFromTheRacket) {
    racket->lives = 2;
    racket->score = 1200;
    racket->slipTime = 4.0f;
    racket->vivacityTime = 3.0f;
    const YHudValues v = ReadHudValues();
    EXPECT_EQ(v.lives, 2);
    EXPECT_EQ(v.score, 1200);
    EXPECT_EQ(HudSidePanelBottom(v), 450.0f - 2 * 65.0f);
}

TEST(HudNoRacket, ShowsNothingHeld) {
    ASSERT_EQ(g_Racket, nullptr);
    const YHudValues v = ReadHudValues();
    EXPECT_EQ(v.score, 0);
    EXPECT_EQ(v.grenadeCharges, -1);
    EXPECT_EQ(HudSidePanelBottom(v), 450.0f);
}

} // namespace
