// What the racket shows and plays besides its pose: footsteps while walking, shield cells under
// objects near the guarded wall, sleep sparks and speed lines.
#include <cmath>

#include "racket/racket_fixture.h"
#include "world/racket/pipe.h"
#include "world/racket/racket_visuals.h"

namespace rackettest {
namespace {

TEST_F(RacketTest, FootstepsOnlyWhileWalking) {
    racket->NewRound();
    Frames(100);
    EXPECT_EQ(HeardOf("hero_step"), 0);
    racket->target = 8.0f;
    Frames(40);
    EXPECT_GT(HeardOf("hero_step"), 0);
}

TEST_F(RacketTest, ShieldCellsStandUnderObjectsNearTheGuardedWall) {
    racket->NewRound();
    racket->StartShield(2.5f);
    struct Row {
        float y;
        int cells;
        float opacity;
    };
    // Half depth 10: a = 1 - (y + 10) / 7, kept while 0 < a < 1; strength min(1, 0.2 x shield).
    const Row rows[] = {{-8.0f, 1, (1.0f - 2.0f / 7.0f) * 0.5f}, {-2.0f, 0, 0.0f}, {5.0f, 0, 0.0f}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.y);
        YPipe pipe; // not held: it counts
        YMatrix m;
        m.MatrixSetTranslation(YVector(2.0f, row.y, 1.0f));
        pipe.SetMatrix(&m);
        racket->shieldTime = 2.5f;
        Frames(1, 0.0f);
        ASSERT_EQ(ShieldCellCount(), row.cells);
        if (row.cells) {
            EXPECT_NEAR(ShieldCells()[0].opacity, row.opacity, 1e-4f);
            EXPECT_FLOAT_EQ(ShieldCells()[0].position.y, -10.0f);
            EXPECT_FLOAT_EQ(ShieldCells()[0].position.x, 2.0f);
        }
    }
}

TEST_F(RacketTest, SlumberSparksTwentyASecond) {
    racket->NewRound();
    racket->StartSlumber(10.0f);
    g_ParticleSystem.Clear();
    Frames(50, 0.02f); // one second
    EXPECT_NEAR(static_cast<int>(g_ParticleSystem.Particles().size()), 20, 1);
}

TEST_F(RacketTest, SpeedLinesOnlyWhileRacingFasterThanTheLimit) {
    racket->NewRound();
    racket->StartVivacity(10.0f);
    racket->posX = -8.5f;
    racket->target = 8.5f;
    for (int i = 0; i < 30 && std::fabs(racket->speedFactor * racket->velocity) <= racket->maxSpeed; ++i) Frames(1);
    ASSERT_GT(std::fabs(racket->speedFactor * racket->velocity), racket->maxSpeed);
    int behind = 0;
    for (int i = 0; i < SPEED_LINE_COUNT; ++i) {
        const YSpeedLine& line = SpeedLines()[i];
        if (line.strength > 0.0f && line.start.x < line.end.x) ++behind;
    }
    EXPECT_GT(behind, 0); // the lines trail behind the hero running towards +x
}

} // namespace
} // namespace rackettest
