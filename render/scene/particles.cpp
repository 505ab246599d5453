#include "render/scene/particles.h"

#include <cmath>
#include <utility>

#include "platform/sys/crt_rand.h"
#include "render/camera.h"
#include "render/font.h"
#include "render/render.h"
#include "render/shader.h"

YParticleSystem g_ParticleSystem;
YDrawParticle g_DrawParticle;
YDrawTextParticle g_DrawTextParticle;

namespace {

// Below this length a velocity has no direction to keep.
constexpr float MIN_SPEED = 1e-6f;

void Copy4(float out[4], const float in[4]) {
    for (int i = 0; i < 4; ++i) out[i] = in[i];
}

void Lerp4(float out[4], const float a[4], const float b[4], float t) {
    for (int i = 0; i < 4; ++i) out[i] = a[i] + (b[i] - a[i]) * t;
}

float Length(const YVector& v) { return std::sqrt(v.Dot(v)); }

// 0..1 from the 15-bit generator.
float RandUnit() { return static_cast<float>(plat::CrtRand()) / static_cast<float>(plat::CRT_RAND_MAX); }

// a +- b: a + 2b x u - b.
float RandAround(float a, float b) { return a + 2.0f * b * RandUnit() - b; }

// A unit vector from a point of the cube [-0.5, 0.5]^3, drawn again while it is too short to give
// a direction.
YVector RandomDirection() {
    for (;;) {
        const float x = RandUnit() - 0.5f;
        const float y = RandUnit() - 0.5f;
        const float z = RandUnit() - 0.5f;
        const YVector d(x, y, z);
        const float len = Length(d);
        if (len > MIN_SPEED) return d * (1.0f / len);
    }
}

// The cover budget ranks particles by how far through their lives they are, in this many steps.
constexpr int AGE_STEPS = 32;

int AgeStep(const YParticle& p) {
    const int step = static_cast<int>(p.age / p.lifetime * static_cast<float>(AGE_STEPS));
    return step < 0 ? 0 : (step >= AGE_STEPS ? AGE_STEPS - 1 : step);
}

float ParticleCover(const YParticle& p) {
    const float t = p.age / p.lifetime;
    return Cover(p.position, p.sizeStart + (p.sizeEnd - p.sizeStart) * t);
}

// Removes record i: the last record takes its place.
void RemoveAt(std::vector<YParticle>& records, std::size_t i) {
    if (i + 1 != records.size()) records[i] = records.back();
    records.pop_back();
}

} // namespace

float Cover(const YVector& position, float halfSize) {
    // The depth along the view direction; the camera looks along -back.
    const float depth = (g_Camera.Position() - position).Dot(g_Camera.back);
    if (!(depth > 0.0f)) return 0.0f;
    const float side = halfSize / (depth * g_Camera.tanHalfFov);
    const float cover = side * side;
    return cover < COVER_MAX ? cover : COVER_MAX;
}

// ---------------------------------------------------------------- the pool

YParticleSystem::YParticleSystem() { Reserve(RESERVED_PARTICLES, RESERVED_TEXTS); }

void YParticleSystem::Reserve(std::size_t particles, std::size_t texts) {
    particles_.reserve(particles);
    texts_.reserve(texts);
}

float YParticleSystem::Share() const {
    const std::size_t live = particles_.size();
    if (live <= PARTICLE_SHARE_FROM) return 1.0f;
    if (live >= PARTICLE_LIMIT) return 0.0f;
    return static_cast<float>(PARTICLE_LIMIT - live) / static_cast<float>(PARTICLE_LIMIT - PARTICLE_SHARE_FROM);
}

void YParticleSystem::Emit(float lifetime, float sizeStart, float sizeEnd, const YVector* position,
                           const YVector* velocity, float speedEnd, YSpaceWarp* warp, YShader* shader,
                           const float colourStart[4], const float colourEnd[4]) {
    // Each emitted particle adds the share to a running sum and is kept when the sum reaches a
    // whole one: with a share of 1 every particle is kept, with 0.25 every fourth.
    kept_ += Share();
    if (kept_ < 1.0f) return;
    kept_ -= 1.0f;
    YParticle p;
    p.lifetime = lifetime;
    p.age = 0.0f;
    p.sizeStart = sizeStart;
    p.sizeEnd = sizeEnd;
    p.speedStart = Length(*velocity);
    p.speedEnd = speedEnd;
    p.position = *position;
    p.velocity = *velocity;
    Copy4(p.colourStart, colourStart);
    Copy4(p.colourEnd, colourEnd);
    p.shader = shader;
    p.warp = warp;
    particles_.push_back(p);
}

void YParticleSystem::EmitText(std::string text, float lifetime, float scale, const YVector* position,
                               const YVector* velocity, YFont* font, const float colourStart[4],
                               const float colourEnd[4]) {
    // At the limit the text furthest through its life gives its place to the new one.
    if (texts_.size() >= TEXT_LIMIT) {
        std::size_t oldest = 0;
        for (std::size_t i = 1; i < texts_.size(); ++i)
            if (texts_[i].age / texts_[i].lifetime > texts_[oldest].age / texts_[oldest].lifetime) oldest = i;
        if (oldest + 1 != texts_.size()) texts_[oldest] = std::move(texts_.back());
        texts_.pop_back();
    }
    YTextParticle& p = texts_.emplace_back();
    p.lifetime = lifetime;
    p.age = 0.0f;
    p.scale = scale;
    p.position = *position;
    p.velocity = *velocity;
    Copy4(p.colourStart, colourStart);
    Copy4(p.colourEnd, colourEnd);
    p.text = std::move(text);
    p.font = font;
}

void YParticleSystem::Update(float dt) {
    // The first pass ages, removes the expired and moves the others, and sums the view they cover
    // by how far through their lives they are.
    float coverByAge[AGE_STEPS] = {};
    float covered = 0.0f;
    for (std::size_t i = 0; i < particles_.size();) {
        YParticle& p = particles_[i];
        p.age += dt;
        // Written so that a lifetime that is no number expires too, instead of living forever.
        if (!(p.age < p.lifetime)) {
            // The last record takes the place and is examined in this same pass.
            RemoveAt(particles_, i);
            continue;
        }
        const float t = p.age / p.lifetime;
        if (p.warp) p.warp->Apply(&p, dt);
        if (p.speedEnd >= 0.0f) {
            // The direction stays and the length is set. A particle without velocity has no
            // direction and keeps standing.
            const float speed = Length(p.velocity);
            if (speed > MIN_SPEED) p.velocity = p.velocity * ((p.speedStart + (p.speedEnd - p.speedStart) * t) / speed);
        }
        p.position = p.position + p.velocity * dt;
        const float cover = ParticleCover(p);
        coverByAge[AgeStep(p)] += cover;
        covered += cover;
        ++i;
    }

    // Over the budget: the particles from the oldest age step down go, until the younger ones fit;
    // of the step where the limit falls, those that still fit stay, in pool order.
    int firstCut = AGE_STEPS;
    float room = 0.0f;
    if (covered > COVER_LIMIT) {
        float sum = 0.0f;
        firstCut = 0;
        while (firstCut < AGE_STEPS && sum + coverByAge[firstCut] <= COVER_LIMIT) sum += coverByAge[firstCut++];
        room = COVER_LIMIT - sum;
        covered = sum;
    }

    // The second pass applies the cut and queues the rest for drawing.
    for (std::size_t i = 0; i < particles_.size();) {
        YParticle& p = particles_[i];
        if (firstCut < AGE_STEPS) {
            const int step = AgeStep(p);
            if (step > firstCut) {
                RemoveAt(particles_, i);
                continue;
            }
            if (step == firstCut) {
                const float cover = ParticleCover(p);
                if (cover > room) {
                    RemoveAt(particles_, i);
                    continue;
                }
                room -= cover;
                covered += cover;
            }
        }
        QueueBlendedDraw(&p, &p.position, &g_DrawParticle);
        ++i;
    }
    covered_ = covered;

    for (std::size_t i = 0; i < texts_.size();) {
        YTextParticle& p = texts_[i];
        p.age += dt;
        if (!(p.age < p.lifetime)) {
            if (i + 1 != texts_.size()) p = std::move(texts_.back());
            texts_.pop_back();
            continue;
        }
        p.position = p.position + p.velocity * dt;
        QueueBlendedDraw(&p, &p.position, &g_DrawTextParticle);
        ++i;
    }
}

void YParticleSystem::Clear() {
    particles_.clear();
    kept_ = 0.0f;
    covered_ = 0.0f;
}

// ---------------------------------------------------------------- drawing

void YDrawParticle::Draw(void* item) {
    if (!g_Render) return;
    const YParticle& p = *static_cast<const YParticle*>(item);
    if (p.shader != shader_ || used_ + QuadStripRoom > QuadStripVertices(PARTICLE_BATCH)) Flush();
    shader_ = p.shader;

    const float t = p.age / p.lifetime;
    const float halfSize = p.sizeStart + (p.sizeEnd - p.sizeStart) * t;
    float colour[4];
    Lerp4(colour, p.colourStart, p.colourEnd, t);
    const uint32_t argb = g_Render->ColorToARGB(colour);

    // The billboard's corners as DrawBillboard has them: top right first, clockwise on screen.
    const YVector a = g_Camera.rightPlusUp * halfSize;
    const YVector b = g_Camera.rightMinusUp * halfSize;
    const YColorVertex corners[4] = {{p.position + a, argb, {1, 0}, {1, 0}},
                                     {p.position + b, argb, {1, 1}, {1, 1}},
                                     {p.position - a, argb, {0, 1}, {0, 1}},
                                     {p.position - b, argb, {0, 0}, {0, 0}}};
    AppendQuadToStrip(strip_, used_, corners);
}

// Particles and floating texts sit in world space: each drawer sets the camera's view as the world
// transform itself, whatever the drawer before it left (a mesh drawer leaves the identity).
void YDrawParticle::Flush() {
    if (used_ == 0 || !g_Render) {
        used_ = 0;
        return;
    }
    g_Render->SetWorldMatrix(&g_Camera.view);
    g_Render->SetShader(shader_, true);
    g_Render->DrawColorStrip(strip_, QuadStripTriangles(used_));
    used_ = 0;
}

void YDrawTextParticle::Draw(void* item) {
    if (!g_Render) return;
    const YTextParticle& p = *static_cast<const YTextParticle*>(item);
    if (!p.font) return;
    g_Render->SetWorldMatrix(&g_Camera.view);
    const float t = p.age / p.lifetime;
    float colour[4];
    Lerp4(colour, p.colourStart, p.colourEnd, t);
    const float halfWidth = p.font->GetTextWidth(p.text.c_str()) * p.scale * 0.5f;
    g_Render->SetShaderColor(p.font->shader, colour);
    const YVector origin = p.position - g_Camera.right * halfWidth;
    g_Render->DrawText3D(p.font, &origin, p.scale, p.text.c_str(), &g_Camera.right, &g_Camera.up);
}

void DrawBillboard(const YVector* centre, float halfSize) {
    // Only the positions change from call to call.
    static YTexVertex quad[4] = {
        {{0, 0, 0}, {1, 0}, {1, 0}},
        {{0, 0, 0}, {1, 1}, {1, 1}},
        {{0, 0, 0}, {0, 1}, {0, 1}},
        {{0, 0, 0}, {0, 0}, {0, 0}},
    };
    if (!g_Render) return;
    const YVector a = g_Camera.rightPlusUp * halfSize;
    const YVector b = g_Camera.rightMinusUp * halfSize;
    quad[0].pos = *centre + a;
    quad[1].pos = *centre + b;
    quad[2].pos = *centre - a;
    quad[3].pos = *centre - b;
    g_Render->DrawTexQuad(quad);
}

void DrawTintedBillboard(const YVector* centre, float halfSize, const float colour[4]) {
    static YMaterial tint; // black colours, power 0; only emissive and diffuse alpha change
    if (!g_Render) return;
    tint.diffuse[3] = colour[3];
    Copy4(tint.emissive, colour);
    g_Render->SetMaterial(&tint, false);
    DrawBillboard(centre, halfSize);
}

// ---------------------------------------------------------------- ready-made effects

void SpawnBlast(const YVector* position, const YVector* velocity, float size, int sparkCount, const float colour[4],
                const float sparkEndColour[4]) {
    static YShader* const blast = FindShader("blast");
    static YShader* const spark = FindShader("spark");
    g_ParticleSystem.Emit(0.75f, size, size * 3.0f, position, velocity, -1.0f, nullptr, blast, colour, g_ColorBlack);
    for (int i = 0; i < sparkCount; ++i) {
        const YVector d = RandomDirection();
        const float speed = RandAround(4.0f, 0.125f);
        const YVector v = d * speed + *velocity;
        const float lifetime = RandAround(1.5f, 0.125f);
        g_ParticleSystem.Emit(lifetime, 0.5f, 0.2f, position, &v, 0.75f, &ParticleGravity, spark, colour,
                              sparkEndColour);
    }
}

void SpawnSparks(const YVector* position, const YVector* baseVelocity, float size, int count,
                 const float colourStart[4], const float colourEnd[4]) {
    static YShader* const spark = FindShader("spark");
    for (int i = 0; i < count; ++i) {
        const YVector d = RandomDirection();
        const YVector v = d * 1.5f + *baseVelocity * 2.5f;
        const float lifetime = RandAround(1.5f, 0.125f);
        g_ParticleSystem.Emit(lifetime, size, size * 0.5f, position, &v, 0.75f, &ParticleGravity, spark, colourStart,
                              colourEnd);
    }
}
