// The particle pool: emission at a rate against lifetimes, the update pass (expiry by moving the
// last record in, warps, speed control, Clear), the drawing of particles and floating texts as
// camera-facing quads over the null device, and the two ready-made effects.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/sys/crt_rand.h"
#include "render/font.h"
#include "render/scene/emission_rate.h"
#include "render/scene/particles.h"
#include "render/scene/space_warp.h"
#include "render/shader.h"
#include "scene_fixture.h"

using scenetest::ExpectNear;
using scenetest::SceneTest;

namespace {

const float kWhite[4] = {1, 1, 1, 1};
const float kClear[4] = {1, 1, 1, 0};

float Length(const YVector& v) { return std::sqrt(v.Dot(v)); }

void EmitAt(YParticleSystem& ps, float lifetime, const YVector& pos, const YVector& vel, float speedEnd = -1.0f,
            YSpaceWarp* warp = nullptr) {
    ps.Emit(lifetime, 1.0f, 1.0f, &pos, &vel, speedEnd, warp, nullptr, kWhite, kClear);
}

// Looks at the camera from `eye` towards the origin, z up, so that its right and up axes are
// neither the world's axes nor each other's mirror images.
void LookFrom(const YVector& eye) {
    YMatrix yaw, pitch, move;
    yaw.SetRotationZ(-30.0f);
    pitch.SetRotationX(-60.0f);
    move.MatrixSetTranslation(eye.Negate());
    const YMatrix view = pitch * (yaw * move); // move, then turn, then tilt
    g_Camera.SetView(&view);
}

using ParticleTest = SceneTest;

TEST_F(ParticleTest, EmissionAtARateAgainstTheLifetime) {
    struct Row {
        const char* name;
        float rate; // per second
        float lifetime;
        float dt;
        int frames;
        int emitted; // in all
        int live;    // after the last frame
    };
    // Each frame emits what is due and then updates, so a particle has aged one step when the
    // frame ends; it lives while its age stays below the lifetime.
    const Row rows[] = {
        {"two per frame, three frames' worth live", 8, 1.0f, 0.25f, 8, 16, 6},
        {"half a particle per frame carries over", 4, 1.0f, 0.125f, 16, 8, 4},
        {"one every other frame, short life", 2, 0.5f, 0.25f, 4, 2, 1},
        {"lifetime 0: emitted, never kept", 8, 0.0f, 0.25f, 4, 8, 0},
        {"negative lifetime likewise", 8, -1.0f, 0.25f, 4, 8, 0},
        {"rate 0 emits nothing", 0, 1.0f, 0.25f, 8, 0, 0},
        {"negative rate emits nothing", -5, 1.0f, 0.25f, 8, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        YParticleSystem ps;
        YEmissionRate rate;
        int emitted = 0;
        for (int f = 0; f < row.frames; ++f) {
            const int due = rate.Take(row.dt, row.rate);
            for (int k = 0; k < due; ++k) EmitAt(ps, row.lifetime, {0, 0, 0}, {1, 0, 0});
            emitted += due;
            ps.Update(row.dt);
            // Every live particle is queued, and nothing else.
            EXPECT_EQ(BlendedDrawQueue().Count(), static_cast<int>(ps.Particles().size()));
            DrawBlendedQueue();
        }
        EXPECT_EQ(emitted, row.emitted);
        EXPECT_EQ(static_cast<int>(ps.Particles().size()), row.live);
    }
}

TEST_F(ParticleTest, UnevenFrameTimesKeepTheLongRunRate) {
    const float rates[] = {1.0f, 7.5f, 30.0f, 240.0f};
    for (float r : rates) {
        SCOPED_TRACE(r);
        YEmissionRate rate;
        plat::CrtSrand(7);
        double time = 0.0;
        long emitted = 0;
        for (int f = 0; f < 2000; ++f) {
            const float dt = 0.01f + 0.04f * static_cast<float>(plat::CrtRand()) / 32767.0f;
            time += dt;
            emitted += rate.Take(dt, r);
        }
        EXPECT_NEAR(static_cast<double>(emitted), time * r, 1.0 + time * r * 1e-4);
    }
}

TEST_F(ParticleTest, ExpiredRecordsAreReplacedAndTheMovedOnesExaminedInTheSamePass) {
    YParticleSystem ps;
    // The record that stays sits between records that all expire, and the ones moved into the
    // holes expire too.
    EmitAt(ps, 0.1f, {0, 0, 0}, {0, 0, 0});
    EmitAt(ps, 10.0f, {5, 0, 0}, {1, 0, 0});
    EmitAt(ps, 0.1f, {0, 0, 0}, {0, 0, 0});
    EmitAt(ps, 0.05f, {0, 0, 0}, {0, 0, 0});
    EmitAt(ps, std::numeric_limits<float>::quiet_NaN(), {0, 0, 0}, {0, 0, 0});
    ps.Update(0.25f);
    ASSERT_EQ(ps.Particles().size(), 1u);
    const YParticle& p = ps.Particles()[0];
    EXPECT_FLOAT_EQ(p.age, 0.25f); // updated exactly once
    ExpectNear(p.position, {5.25f, 0, 0});
    EXPECT_EQ(BlendedDrawQueue().Count(), 1);
    DrawBlendedQueue();

    ps.Update(10.0f);
    EXPECT_TRUE(ps.Particles().empty());
    EXPECT_EQ(BlendedDrawQueue().Count(), 0);
}

TEST_F(ParticleTest, SpeedControlRunsToTheEndSpeedWhateverTheWarpAdds) {
    YParticleSystem ps;
    YSpaceGravity strong(YVector(0, 0, -40.0f));
    EmitAt(ps, 1.0f, {0, 0, 0}, {3, 0, 4}, 0.75f, &strong);          // from 5 to 0.75 units/s
    EmitAt(ps, 1.0f, {0, 0, 0}, {0, 0, 0}, 0.75f, &strong);          // no direction: the warp alone
    EmitAt(ps, 1.0f, {0, 0, 0}, {0, 0, 0}, 0.75f);                   // nothing moves it
    EmitAt(ps, 1.0f, {0, 0, 0}, {2, 0, 0}, -1.0f, &ParticleGravity); // uncontrolled: falls
    const float dt = 0.125f;
    for (int step = 1; step <= 7; ++step) {
        ps.Update(dt);
        DrawBlendedQueue();
        ASSERT_EQ(ps.Particles().size(), 4u);
        const float t = step * dt;
        const YParticle& spark = ps.Particles()[0];
        EXPECT_NEAR(Length(spark.velocity), 5.0f + (0.75f - 5.0f) * t, 1e-4f) << "step " << step;
        EXPECT_LT(spark.velocity.z / Length(spark.velocity), 0.8f); // turned downward from (3, 0, 4) / 5
    }
    const YParticle& pushed = ps.Particles()[1];
    EXPECT_TRUE(std::isfinite(pushed.position.z));
    EXPECT_LT(pushed.position.z, 0.0f);
    const YParticle& still = ps.Particles()[2];
    ExpectNear(still.position, {0, 0, 0});
    ExpectNear(still.velocity, {0, 0, 0});
    const YParticle& falling = ps.Particles()[3];
    EXPECT_FLOAT_EQ(falling.velocity.x, 2.0f);
    EXPECT_NEAR(falling.velocity.z, -4.0f * 7 * dt, 1e-5f);
}

TEST_F(ParticleTest, ClearRemovesParticlesButTextsRunOutByAge) {
    YParticleSystem ps;
    YFont font("particle_test_clear");
    EmitAt(ps, 5.0f, {0, 0, 0}, {0, 0, 0});
    EmitAt(ps, 5.0f, {0, 0, 0}, {0, 0, 0});
    const YVector pos(1, 2, 3), up(0, 0, 1);
    ps.EmitText("+100", 1.0f, 0.5f, &pos, &up, &font, kWhite, kClear);
    ps.EmitText("+250", 2.0f, 0.5f, &pos, &up, &font, kWhite, kClear);
    ps.Clear();
    EXPECT_TRUE(ps.Particles().empty());
    ASSERT_EQ(ps.Texts().size(), 2u);

    ps.Update(1.5f);
    DrawBlendedQueue();
    ASSERT_EQ(ps.Texts().size(), 1u);
    EXPECT_EQ(ps.Texts()[0].text, "+250"); // moved into the first place with its string
    ExpectNear(ps.Texts()[0].position, {1, 2, 4.5f});
    ps.Update(0.5f);
    EXPECT_TRUE(ps.Texts().empty());
}

TEST_F(ParticleTest, SizeAndColourRunFromStartToEndOverTheLife) {
    gpu::NullDevice& dev = MakeDevice();
    YShader* shader = FindShader("particle_test_sprite");
    const float start[4] = {0.2f, 0.4f, 0.6f, 0.8f};
    const float end[4] = {1.0f, 0.0f, 0.5f, 0.0f};
    struct Row {
        float age; // of a 2 s life
        float halfSize;
        float colour[4];
    };
    const Row rows[] = {
        {0.0f, 0.5f, {0.2f, 0.4f, 0.6f, 0.8f}},
        {1.0f, 1.75f, {0.6f, 0.2f, 0.55f, 0.4f}},
        {1.999f, 2.99875f, {0.9996f, 0.0002f, 0.50005f, 0.0004f}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.age);
        YParticleSystem ps;
        const YVector centre(1, 2, 3), still(0, 0, 0);
        ps.Emit(2.0f, 0.5f, 3.0f, &centre, &still, -1.0f, nullptr, shader, start, end);
        dev.ClearTrace();
        ps.Update(row.age);
        DrawBlendedQueue();

        EXPECT_EQ(render_->CurrentShader(), shader);
        // The colour is the billboard's vertices', drawn unlit: each channel as a byte.
        std::vector<uint32_t> colours;
        const std::vector<scenetest::Quad> quads = StripQuads(32, &colours);
        ASSERT_EQ(quads.size(), 1u);
        ASSERT_EQ(colours.size(), 1u);
        const int shifts[4] = {16, 8, 0, 24}; // r, g, b, a
        for (int ch = 0; ch < 4; ++ch)
            EXPECT_NEAR(static_cast<float>((colours[0] >> shifts[ch]) & 0xFF), row.colour[ch] * 255.0f, 1.0f)
                << "channel " << ch << " of " << std::hex << colours[0];
        EXPECT_EQ(dev.TraceStartingWith("SetRenderState(LIGHTING,0)").size(), 1u);
        EXPECT_EQ(dev.State().renderStates[gpu::D3DRS_LIGHTING], 1u); // on again after the draw

        // Opposite corners lie 2 x halfSize x |R + U| apart.
        const YVector diagonal = quads[0].v[0].pos - quads[0].v[2].pos;
        EXPECT_NEAR(Length(diagonal), 2.0f * row.halfSize * std::sqrt(2.0f), 1e-4f);
        if (row.age == 0.0f) { // exactly the start values
            const YVector corner = centre + g_Camera.rightPlusUp * 0.5f;
            EXPECT_EQ(quads[0].v[0].pos.x, corner.x);
            EXPECT_EQ(quads[0].v[0].pos.y, corner.y);
            EXPECT_EQ(quads[0].v[0].pos.z, corner.z);
        }
    }
}

// Particles drawn one after another in one shader share a strip; a change of shader, another
// drawer's item between them, or a full strip starts a new one. The billboards keep the queue's
// order, and the corners of each are those of a lone billboard.
TEST_F(ParticleTest, ConsecutiveParticlesOfOneShaderShareAStrip) {
    gpu::NullDevice& dev = MakeDevice();
    LookFrom({0, -30, 0});
    YShader* a = FindShader("particle_test_batch_a");
    YShader* b = FindShader("particle_test_batch_b");
    const YVector still(0, 0, 0);
    struct Row {
        const char* name;
        std::vector<YShader*> shaders; // farthest first
        std::vector<int> strips;       // billboards per draw
    };
    const std::vector<Row> rows = {
        {"one shader", {a, a, a}, {3}},
        {"a change of shader", {a, a, b, b, a}, {2, 2, 1}},
        {"a full strip", std::vector<YShader*>(PARTICLE_BATCH + 1, a), {PARTICLE_BATCH, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        YParticleSystem ps;
        const float white[4] = {1, 1, 1, 1};
        for (std::size_t i = 0; i < row.shaders.size(); ++i) {
            const YVector at(0, 100.0f - static_cast<float>(i) * 0.5f, 0); // farther first
            ps.Emit(5.0f, 0.5f, 0.5f, &at, &still, -1.0f, nullptr, row.shaders[i], white, white);
        }
        ps.Update(0.0f);
        dev.ClearTrace();
        DrawBlendedQueue();
        std::vector<int> strips;
        for (const gpu::NullCall& c : dev.Calls())
            if (c.text.rfind("DrawPrimitiveUP(", 0) == 0)
                strips.push_back(static_cast<int>((c.vertices.size() / 32 + 2) / 6));
        EXPECT_EQ(strips, row.strips);
        const std::vector<scenetest::Quad> quads = StripQuads(32);
        ASSERT_EQ(quads.size(), row.shaders.size());
        for (std::size_t i = 0; i < quads.size(); ++i) {
            const YVector centre(0, 100.0f - static_cast<float>(i) * 0.5f, 0);
            ExpectNear(quads[i].v[0].pos, centre + g_Camera.rightPlusUp * 0.5f, 1e-4f);
            ExpectNear(quads[i].v[2].pos, centre - g_Camera.rightPlusUp * 0.5f, 1e-4f);
            EXPECT_EQ(quads[i].v[3].uv.u, 0.0f);
            EXPECT_EQ(quads[i].v[3].uv.v, 0.0f);
        }
    }

    // A floating text between two particles of one shader splits them.
    YParticleSystem ps;
    YFont font("particle batch test");
    font.widths[int{'x'}] = 1.0f;
    const float white[4] = {1, 1, 1, 1};
    const YVector farther(0, 20, 0), middle(0, 10, 0), nearer(0, 0, 0);
    ps.Emit(5.0f, 0.5f, 0.5f, &farther, &still, -1.0f, nullptr, a, white, white);
    ps.EmitText("x", 5.0f, 1.0f, &middle, &still, &font, white, white);
    ps.Emit(5.0f, 0.5f, 0.5f, &nearer, &still, -1.0f, nullptr, a, white, white);
    ps.Update(0.0f);
    dev.ClearTrace();
    DrawBlendedQueue();
    const std::vector<std::string> draws = dev.TraceStartingWith("DrawPrimitiveUP(");
    const std::vector<std::string> expected = {"DrawPrimitiveUP(TRIANGLESTRIP,2,32)",
                                               "DrawPrimitiveUP(TRIANGLESTRIP,2,28)",
                                               "DrawPrimitiveUP(TRIANGLESTRIP,2,32)"};
    EXPECT_EQ(draws, expected);
}

TEST_F(ParticleTest, BillboardsFaceTheCameraUpright) {
    gpu::NullDevice& dev = MakeDevice();
    LookFrom({10, -20, 15});
    const YVector centre(1, 2, 3);
    DrawBillboard(&centre, 0.5f);
    const std::vector<scenetest::Quad> quads = Quads();
    ASSERT_EQ(quads.size(), 1u);
    (void)dev;

    // In the camera's frame the corners sit at (+-h, +-h) around the centre, at its depth, the
    // picture's top right (u = 1, v = 0) first, then clockwise on screen.
    const YVector c = g_Camera.view.TransformPoint(centre);
    struct Corner {
        float x, y, u, v;
    };
    const Corner expected[4] = {{0.5f, 0.5f, 1, 0}, {0.5f, -0.5f, 1, 1}, {-0.5f, -0.5f, 0, 1}, {-0.5f, 0.5f, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const YTexVertex& v = quads[0].v[i];
        ExpectNear(g_Camera.view.TransformPoint(v.pos), c + YVector(expected[i].x, expected[i].y, 0), 1e-4f);
        EXPECT_EQ(v.uv.u, expected[i].u);
        EXPECT_EQ(v.uv.v, expected[i].v);
        EXPECT_EQ(v.uv2.u, expected[i].u);
        EXPECT_EQ(v.uv2.v, expected[i].v);
    }
}

// A mesh drawn before a particle in the same queue leaves the identity as the world transform;
// the particle is still drawn in world space, through the camera's view.
TEST_F(ParticleTest, ParticlesAreDrawnThroughTheCameraWhateverWasDrawnBefore) {
    gpu::NullDevice& dev = MakeDevice();
    LookFrom({10, -20, 15});
    const YMatrix identity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    YParticleSystem ps;
    EmitAt(ps, 1.0f, {1, 2, 3}, {0, 0, 0});
    ps.Update(0.0f);
    g_Render->SetWorldMatrix(&identity);
    DrawBlendedQueue();
    for (int i = 0; i < 16; ++i) EXPECT_EQ(dev.State().world.m[i], g_Camera.view.m[i]) << i;

    YFont font("particle world test");
    font.widths[int{'x'}] = 1.0f;
    const YVector at(1, 2, 3), still(0, 0, 0);
    ps.EmitText("x", 1.0f, 1.0f, &at, &still, &font, kWhite, kClear);
    ps.Update(0.0f);
    g_Render->SetWorldMatrix(&identity);
    DrawBlendedQueue();
    for (int i = 0; i < 16; ++i) EXPECT_EQ(dev.State().world.m[i], g_Camera.view.m[i]) << i;
}

TEST_F(ParticleTest, ParticlesAreDrawnFarthestFirstWhereTheyMovedTo) {
    gpu::NullDevice& dev = MakeDevice();
    LookFrom({0, -30, 0});
    YParticleSystem ps;
    const float red[4] = {1, 0, 0, 1}, green[4] = {0, 1, 0, 1};
    const YVector nearPos(0, -10, 0), farPos(0, 10, 0);
    // The far one starts near and the near one far; their velocities swap them within the step.
    const YVector towardFar(0, 40, 0), towardNear(0, -40, 0);
    ps.Emit(5.0f, 1, 1, &nearPos, &towardFar, -1.0f, nullptr, nullptr, red, red);
    ps.Emit(5.0f, 1, 1, &farPos, &towardNear, -1.0f, nullptr, nullptr, green, green);
    ps.Update(0.75f);
    dev.ClearTrace();
    DrawBlendedQueue();
    std::vector<uint32_t> colours;
    StripQuads(32, &colours);
    // Red moved to y = 20, behind green at y = -20: red is drawn first.
    const std::vector<uint32_t> expected = {0xFFFF0000u, 0xFF00FF00u};
    EXPECT_EQ(colours, expected);
}

TEST_F(ParticleTest, FloatingTextIsCentredOnItsPositionAlongTheCameraAxes) {
    gpu::NullDevice& dev = MakeDevice();
    LookFrom({10, -20, 15});
    YFont font("particle_test_text");
    font.shader = FindShader("particle_test_text_shader");
    font.widths[int{'8'}] = 0.5f;
    font.glyphs[int{'8'}] = YGlyph{{{0, 0, 0, 0, 0}, {0.5f, 0, 0, 1, 0}, {0.5f, 1, 0, 1, 1}, {0, 1, 0, 0, 1}}};
    YParticleSystem ps;
    const YVector pos(1, 2, 3), still(0, 0, 0);
    const float from[4] = {1, 1, 0, 1}, to[4] = {1, 0, 0, 0};
    ps.EmitText("88", 2.0f, 2.0f, &pos, &still, &font, from, to);
    ps.Update(1.0f);
    dev.ClearTrace();
    DrawBlendedQueue();

    const std::vector<scenetest::Quad> quads = StripQuads(28);
    ASSERT_EQ(quads.size(), 2u);
    // Two glyphs of width 0.5 x 2 = 1: the text spans 2 along R, from pos - R to pos + R, with
    // the glyph cells rising along U to the size (2) above the position.
    const YVector& R = g_Camera.right;
    const YVector& U = g_Camera.up;
    ExpectNear(quads[0].v[0].pos, pos - R + U * 2.0f);
    ExpectNear(quads[1].v[2].pos, pos + R);
    const gpu::Material& m = dev.State().material;
    EXPECT_FLOAT_EQ(m.Emissive.r, 1.0f);
    EXPECT_FLOAT_EQ(m.Emissive.g, 0.5f);
    EXPECT_FLOAT_EQ(m.Diffuse.a, 0.5f);
    EXPECT_EQ(render_->CurrentShader(), font.shader);
}

TEST_F(ParticleTest, BlastAndSparksEmitWithinTheirRanges) {
    const float colour[4] = {1, 0.5f, 0, 1}, sparkEnd[4] = {0.5f, 0, 0, 0};
    const YVector pos(1, 2, 3), vel(0, 0, 2), base(0.2f, 0, 0);
    YShader* blast = FindShader("blast");
    YShader* spark = FindShader("spark");
    struct Row {
        const char* name;
        bool blastEffect;
        int count;
        std::size_t particles;
    };
    const Row rows[] = {
        {"blast without sparks: exactly the blast", true, 0, 1},
        {"blast with a negative spark count", true, -3, 1},
        {"blast with 200 sparks", true, 200, 201},
        {"200 sparks", false, 200, 200},
        {"no sparks", false, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        g_ParticleSystem.Clear();
        if (row.blastEffect)
            SpawnBlast(&pos, &vel, 0.8f, row.count, colour, sparkEnd);
        else
            SpawnSparks(&pos, &base, 0.4f, row.count, colour, sparkEnd);
        const std::vector<YParticle>& ps = g_ParticleSystem.Particles();
        ASSERT_EQ(ps.size(), row.particles);
        for (std::size_t i = 0; i < ps.size(); ++i) {
            const YParticle& p = ps[i];
            ExpectNear(p.position, pos);
            EXPECT_EQ(p.age, 0.0f);
            if (row.blastEffect && i == 0) {
                EXPECT_EQ(p.shader, blast);
                EXPECT_EQ(p.lifetime, 0.75f);
                EXPECT_EQ(p.sizeStart, 0.8f);
                EXPECT_FLOAT_EQ(p.sizeEnd, 2.4f);
                EXPECT_EQ(p.speedEnd, -1.0f);
                EXPECT_EQ(p.warp, nullptr);
                ExpectNear(p.velocity, vel);
                EXPECT_EQ(p.colourStart[1], 0.5f);
                EXPECT_EQ(p.colourEnd[0], 0.0f);
                EXPECT_EQ(p.colourEnd[3], 1.0f); // to opaque black
                continue;
            }
            EXPECT_EQ(p.shader, spark);
            EXPECT_EQ(p.warp, &ParticleGravity);
            EXPECT_EQ(p.speedEnd, 0.75f);
            EXPECT_GE(p.lifetime, 1.375f);
            EXPECT_LE(p.lifetime, 1.625f);
            EXPECT_EQ(p.colourEnd[0], 0.5f);
            EXPECT_EQ(p.colourEnd[3], 0.0f);
            EXPECT_FLOAT_EQ(p.speedStart, Length(p.velocity));
            if (row.blastEffect) {
                const float speed = Length(p.velocity - vel);
                EXPECT_GE(speed, 3.875f - 1e-5f);
                EXPECT_LE(speed, 4.125f + 1e-5f);
                EXPECT_EQ(p.sizeStart, 0.5f);
                EXPECT_EQ(p.sizeEnd, 0.2f);
            } else {
                EXPECT_NEAR(Length(p.velocity - base * 2.5f), 1.5f, 1e-5f);
                EXPECT_EQ(p.sizeStart, 0.4f);
                EXPECT_EQ(p.sizeEnd, 0.2f);
            }
        }
    }
    g_ParticleSystem.Clear();
}

TEST_F(ParticleTest, SparksFallUnderTheParticleGravity) {
    g_ParticleSystem.Clear();
    const float colour[4] = {1, 1, 1, 1};
    const YVector pos(0, 0, 0), still(0, 0, 0);
    SpawnSparks(&pos, &still, 0.3f, 50, colour, colour);
    for (int i = 0; i < 10; ++i) {
        g_ParticleSystem.Update(0.1f);
        DrawBlendedQueue();
    }
    float meanZ = 0.0f;
    for (const YParticle& p : g_ParticleSystem.Particles()) meanZ += p.position.z;
    meanZ /= static_cast<float>(g_ParticleSystem.Particles().size());
    EXPECT_LT(meanZ, -0.5f); // the burst as a whole has dropped
    g_ParticleSystem.Update(1.0f);
    EXPECT_TRUE(g_ParticleSystem.Particles().empty()); // all within 1.625 s
    DrawBlendedQueue();
}

TEST_F(ParticleTest, ThePoolDoesNotGrowWhileItsCountStaysWithinTheReservation) {
    YParticleSystem ps;
    const std::vector<YParticle>& records = ps.Particles();
    const YParticle* storage = nullptr;
    for (int frame = 0; frame < 200; ++frame) {
        for (int k = 0; k < 20; ++k) EmitAt(ps, 0.5f + 0.01f * static_cast<float>(k), {0, 0, 0}, {1, 0, 0});
        ps.Update(0.05f);
        DrawBlendedQueue();
        if (!storage) storage = records.data();
        EXPECT_EQ(records.data(), storage);
    }
    EXPECT_LE(records.size(), YParticleSystem::RESERVED_PARTICLES);
}

// What an explosion shows of particles, as the game makes one: the fireball (0.75 s, half size 1 to
// 7.5) with 50 sparks, and the blast with 20 sparks of the block it destroyed.
void Explosion(const YVector& at) {
    const YVector still(0, 0, 0);
    g_ParticleSystem.Emit(0.75f, 1.0f, 7.5f, &at, &still, -1.0f, nullptr, nullptr, kWhite, kClear);
    SpawnBlast(&at, &still, 0.5f, 50, kWhite, kClear);
    SpawnBlast(&at, &still, 0.5f, 20, kWhite, kClear);
}

// The sum of the view the pool's particles cover now.
float PoolCover() {
    float sum = 0.0f;
    for (const YParticle& p : g_ParticleSystem.Particles())
        sum += Cover(p.position, p.sizeStart + (p.sizeEnd - p.sizeStart) * p.age / p.lifetime);
    return sum;
}

// The play camera: about 30 units from the middle of the table.
void PlayView() { LookFrom({0.0f, -24.0f, 18.0f}); }

TEST_F(ParticleTest, AFewExplosionsKeepEveryParticleForTheirWholeLife) {
    PlayView();
    const std::vector<YVector> one = {{0, 0, 0.5f}};
    const std::vector<YVector> three = {{-6, 6, 0.5f}, {0, -8, 0.5f}, {7, 2, 0.5f}};
    for (const std::vector<YVector>* places : {&one, &three}) {
        SCOPED_TRACE(places->size());
        g_ParticleSystem.Clear();
        for (const YVector& at : *places) Explosion(at);
        const std::size_t emitted = g_ParticleSystem.Particles().size();
        EXPECT_EQ(emitted, 73u * places->size());
        // Until the fireballs run out, nothing goes.
        for (int frame = 0; frame < 46; ++frame) {
            g_ParticleSystem.Update(0.016f);
            ASSERT_EQ(g_ParticleSystem.Particles().size(), emitted) << frame;
            DrawBlendedQueue();
        }
        EXPECT_LT(g_ParticleSystem.CoveredArea(), YParticleSystem::COVER_LIMIT);
    }
    g_ParticleSystem.Clear();
}

TEST_F(ParticleTest, ManyExplosionsAtOnceStayWithinTheBudget) {
    // 400 explosions over 12 frames at random places of the table, as a chain of "tnt" blocks
    // makes them, then two seconds more.
    PlayView();
    g_ParticleSystem.Clear();
    const YParticle* storage = g_ParticleSystem.Particles().data();
    float largest = 0.0f;
    for (int frame = 0; frame < 140; ++frame) {
        for (int k = 0; frame < 12 && k < 34; ++k) {
            const float x = static_cast<float>(plat::CrtRand() % 20) - 10.0f;
            const float y = static_cast<float>(plat::CrtRand() % 20) - 10.0f;
            Explosion({x, y, 0.5f});
        }
        ASSERT_LE(g_ParticleSystem.Particles().size(), YParticleSystem::PARTICLE_LIMIT);
        g_ParticleSystem.Update(0.016f);
        ASSERT_EQ(g_ParticleSystem.Particles().data(), storage) << "the pool grew";
        EXPECT_LE(PoolCover(), YParticleSystem::COVER_LIMIT * 1.001f) << frame;
        EXPECT_LE(g_ParticleSystem.CoveredArea(), YParticleSystem::COVER_LIMIT * 1.001f) << frame;
        largest = std::max(largest, g_ParticleSystem.CoveredArea());
        DrawBlendedQueue();
    }
    EXPECT_GT(largest, YParticleSystem::COVER_LIMIT * 0.9f) << "the budget was reached and used";
    g_ParticleSystem.Clear();
}

TEST_F(ParticleTest, WhenTheCoverIsSpentTheOldestGoFirst) {
    // One large, long-lived sprite a frame at the middle of the table.
    PlayView();
    YParticleSystem ps;
    const YVector at(0, 0, 0), still(0, 0, 0);
    const float each = Cover(at, 3.0f);
    const int fit = static_cast<int>(YParticleSystem::COVER_LIMIT / each);
    ASSERT_GT(fit, 10);
    ASSERT_LT(fit, 60);
    for (int frame = 0; frame < 80; ++frame) {
        ps.Emit(10.0f, 3.0f, 3.0f, &at, &still, -1.0f, nullptr, nullptr, kWhite, kClear);
        ps.Update(0.1f);
        DrawBlendedQueue();
    }
    ASSERT_EQ(static_cast<int>(ps.Particles().size()), fit);
    // Ages are ranked in steps of a 32nd of the life (0.3125 s, about three frames).
    for (const YParticle& p : ps.Particles()) EXPECT_LE(p.age, 0.1f * static_cast<float>(fit + 3) + 1e-3f);
}

TEST_F(ParticleTest, PastHalfTheLimitNewParticlesGetAShrinkingShare) {
    // Long-lived particles behind the camera (they cover nothing) fill the pool to a level; then
    // 100 more are emitted.
    struct Row {
        std::size_t live;
        int kept; // of the 100
    };
    const Row rows[] = {
        {0, 100},
        {YParticleSystem::PARTICLE_SHARE_FROM - 100, 100},
        {YParticleSystem::PARTICLE_SHARE_FROM + YParticleSystem::PARTICLE_LIMIT / 4, 50}, // share 1/2
        {YParticleSystem::PARTICLE_LIMIT, 0},
    };
    const YVector behind = g_Camera.Position() + g_Camera.back * 10.0f;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.live);
        YParticleSystem ps;
        const YParticle* storage = ps.Particles().data();
        for (int tries = 0; ps.Particles().size() < row.live && tries < 200000; ++tries)
            EmitAt(ps, 100.0f, behind, {0, 0, 0});
        ASSERT_EQ(ps.Particles().size(), row.live);
        for (int k = 0; k < 100; ++k) EmitAt(ps, 100.0f, behind, {0, 0, 0});
        EXPECT_NEAR(static_cast<int>(ps.Particles().size() - row.live), row.kept, 1);
        EXPECT_LE(ps.Particles().size(), YParticleSystem::PARTICLE_LIMIT);
        EXPECT_EQ(ps.Particles().data(), storage) << "the pool grew";
    }
}

TEST_F(ParticleTest, FloatingTextsBeyondTheLimitTakeTheOldestPlace) {
    YParticleSystem ps;
    const YVector at(0, 0, 0), still(0, 0, 0);
    const YTextParticle* storage = ps.Texts().data();
    for (int i = 0; i < 200; ++i) {
        ps.EmitText(std::to_string(i), 10.0f, 1.0f, &at, &still, nullptr, kWhite, kClear);
        ps.Update(0.01f);
        DrawBlendedQueue();
    }
    ASSERT_EQ(ps.Texts().size(), YParticleSystem::TEXT_LIMIT);
    EXPECT_EQ(ps.Texts().data(), storage) << "the texts grew";
    for (const YTextParticle& t : ps.Texts())
        EXPECT_GE(std::stoi(t.text), 200 - static_cast<int>(YParticleSystem::TEXT_LIMIT));
}

} // namespace
