// Held-capable objects: the pipe's smoke, deleting held objects from elsewhere, and emptying the
// list between levels.
#include "racket/racket_fixture.h"
#include "world/racket/pipe.h"

namespace rackettest {
namespace {

TEST_F(RacketTest, ThePipePuffsThreeTimesASecond) {
    struct Row {
        float dt;
        int frames;
        std::size_t puffs;
        float left;
    };
    const Row rows[] = {
        {0.5f, 1, 1, 0.5f - 1.0f / 3.0f},
        {1.0f, 1, 3, 0.0f},
        {0.1f, 3, 0, 0.3f},
        {0.1f, 4, 1, 0.4f - 1.0f / 3.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.dt << " x " << row.frames);
        g_ParticleSystem.Clear();
        YPipe pipe;
        EXPECT_EQ(pipe.kind, TACKED_PIPE);
        EXPECT_EQ(pipe.boneIndex, 3);
        for (int i = 0; i < row.frames; ++i) pipe.Update(row.dt);
        EXPECT_EQ(g_ParticleSystem.Particles().size(), row.puffs);
        EXPECT_NEAR(pipe.smoke, row.left, 1e-4f);
    }
}

TEST_F(RacketTest, DeletingTheHeldObjectElsewhereClearsTheHand) {
    racket->NewRound();
    ASSERT_NE(racket->held, nullptr);
    delete racket->held;
    EXPECT_EQ(racket->held, nullptr);
    Frames(2); // nothing reads the old object
}

TEST_F(RacketTest, DeleteAllTackedDeletesEveryObjectOnce) {
    static int destroyed = 0;
    struct Counted : YPipe {
        ~Counted() override { ++destroyed; }
    };
    for (int n : {0, 1, 4}) {
        destroyed = 0;
        for (int i = 0; i < n; ++i) new Counted();
        DeleteAllTacked();
        EXPECT_EQ(destroyed, n);
        EXPECT_TRUE(TackedList().empty());
    }
}

} // namespace
} // namespace rackettest
