// The racket's own drawing over the null device: the footprint under the hero, the target arrow
// only when the target is far enough, and nothing at all outside play.
#include <cstring>
#include <string>

#include "render/scene_fixture.h"
#include "world/racket/racket.h"

namespace {

class RacketDraw : public scenetest::SceneTest {
protected:
    int Draws(const char* prefix) const {
        int n = 0;
        for (const gpu::NullCall& c : device_->Calls()) n += c.text.rfind(prefix, 0) == 0;
        return n;
    }
};

TEST_F(RacketDraw, FootprintAndArrowByStateAndDistance) {
    MakeDevice();
    YRacket racket(nullptr);
    racket.posX = 1.0f;
    racket.posY = -9.0f;
    racket.width = 3.0f;
    struct Row {
        const char* name;
        int state;
        float target;
        int quads;
        int strips;
    };
    const Row rows[] = {
        {"play, target far: footprint and arrow", RACKET_PLAY, 7.0f, 1, 1},
        {"play, target closer than the width: footprint only", RACKET_PLAY, 2.5f, 1, 0},
        {"ball lost: nothing", RACKET_BALL_LOST, 7.0f, 0, 0},
        {"return: nothing", RACKET_RETURN, 7.0f, 0, 0},
        {"standing: nothing", RACKET_STANDING, 7.0f, 0, 0},
        {"parked: nothing", RACKET_PARKED, 7.0f, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        racket.state = row.state;
        racket.target = row.target;
        device_->ClearTrace();
        racket.Draw();
        EXPECT_EQ(Draws("DrawPrimitiveUP(TRIANGLEFAN,2,28)"), row.quads);
        EXPECT_EQ(Draws("DrawPrimitiveUP(TRIANGLESTRIP,4,28)"), row.strips);
        if (row.quads == 1) {
            const std::vector<scenetest::Quad> quads = Quads();
            ASSERT_EQ(quads.size(), 1u);
            float lo = 1e9f, hi = -1e9f;
            for (const YTexVertex& v : quads[0].v) {
                lo = std::min(lo, v.pos.x);
                hi = std::max(hi, v.pos.x);
                EXPECT_FLOAT_EQ(v.pos.z, 0.1f);
                EXPECT_NEAR(std::fabs(v.pos.y - racket.posY), 1.0f, 1e-5f);
            }
            EXPECT_FLOAT_EQ(lo, -0.5f);
            EXPECT_FLOAT_EQ(hi, 2.5f);
        }
    }
}

} // namespace
