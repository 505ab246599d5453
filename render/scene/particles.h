#pragma once
// The particle pool: short-lived camera-facing sprites (sparks, blasts, smoke, trails) and
// floating texts (score and damage pop-ups). Game objects emit into the one global pool at any
// time during their update; once per frame Update ages and moves every record and puts each live
// one on the blended draw queue, from where it is drawn back to front with the scene's other
// transparent things.
//
// Records live by value in two contiguous arrays that never shrink their storage: removal moves
// the last record into the hole, so a steady stream of particles costs no allocation once the
// arrays have room (they reserve room up front and grow only past it).
//
// The live particles are held to a budget, so that many effects at once (a chain of blasts) cannot
// make frames that take hundreds of milliseconds to draw, while a single effect looks as it always
// did:
// - Their number: above PARTICLE_SHARE_FROM every new particle is kept with a share that falls
//   linearly to 0 at PARTICLE_LIMIT (an even thinning, the same for every emitter, decided by a
//   running sum, not by chance), so the pool never holds more than PARTICLE_LIMIT records and never
//   grows past its reservation.
// - The screen they cover: each live particle's billboard covers about (half size / (depth x
//   tan(fov / 2)))^2 of the view (in squares of the view's height, see Cover). When the sum over
//   the pool passes COVER_LIMIT, the particles furthest through their lives go first (they are the
//   largest and most faded of a blast) until the rest fit.
//
// The blended queue holds pointers into these arrays. Nothing may emit or clear between Update
// and the end of the blended queue's drain: a growing array would move the records under the
// queued pointers.
#include <cstddef>
#include <string>
#include <vector>

#include "math/vector.h"
#include "render/draw_list.h"
#include "render/quad_strip.h"
#include "render/render_values.h"
#include "render/scene/space_warp.h"

class YFont;
class YShader;

struct YParticle {
    float lifetime;   // seconds
    float age;        // seconds lived, 0 at emission
    float sizeStart;  // billboard half size at age 0
    float sizeEnd;    // ... at the end of life
    float speedStart; // |velocity| at emission
    float speedEnd;   // speed at the end of life; negative: the speed is not controlled
    YVector position;
    YVector velocity;     // units per second
    float colourStart[4]; // r, g, b, a
    float colourEnd[4];
    YShader* shader;  // not owned
    YSpaceWarp* warp; // applied every update, or null; not owned
};

struct YTextParticle {
    float lifetime;
    float age;
    float scale;      // text size
    YVector position; // the middle of the text's width, at its bottom edge
    YVector velocity;
    float colourStart[4];
    float colourEnd[4];
    std::string text;
    YFont* font; // not owned
};

class YParticleSystem {
public:
    // Room for this many records before the arrays grow.
    static constexpr std::size_t RESERVED_PARTICLES = 8192;
    static constexpr std::size_t RESERVED_TEXTS = 64;
    // The budget (see the top of this file).
    static constexpr std::size_t PARTICLE_LIMIT = RESERVED_PARTICLES;
    static constexpr std::size_t PARTICLE_SHARE_FROM = PARTICLE_LIMIT / 2;
    static constexpr float COVER_LIMIT = 3.0f;
    // Floating texts live at most (each is drawn on its own).
    static constexpr std::size_t TEXT_LIMIT = RESERVED_TEXTS;

    YParticleSystem();

    // Appends a particle of age 0 whose start speed is |velocity|. With speedEnd >= 0 the speed
    // runs linearly to speedEnd over the lifetime; a particle emitted without velocity then keeps
    // none. A lifetime of 0 or less is removed at the next Update without being drawn. Past
    // PARTICLE_SHARE_FROM live particles only the pool's share of the emitted ones is kept.
    void Emit(float lifetime, float sizeStart, float sizeEnd, const YVector* position, const YVector* velocity,
              float speedEnd, YSpaceWarp* warp, YShader* shader, const float colourStart[4], const float colourEnd[4]);
    // Appends a floating text of age 0; at TEXT_LIMIT it takes the place of the oldest.
    void EmitText(std::string text, float lifetime, float scale, const YVector* position, const YVector* velocity,
                  YFont* font, const float colourStart[4], const float colourEnd[4]);
    // Ages every record by dt; removes those whose age reached their lifetime; applies the warp,
    // the speed control and the velocity to the others; removes the oldest while the screen they
    // cover passes COVER_LIMIT, and queues the rest for blended drawing.
    void Update(float dt);
    // Removes every particle; floating texts run on.
    void Clear();

    // Room for at least this many records without growing.
    void Reserve(std::size_t particles, std::size_t texts);

    const std::vector<YParticle>& Particles() const { return particles_; }
    const std::vector<YTextParticle>& Texts() const { return texts_; }
    // The share of new particles kept now: 1 up to PARTICLE_SHARE_FROM live ones, 0 at the limit.
    float Share() const;
    // The view the live particles covered at the last Update, after the budget was applied.
    float CoveredArea() const { return covered_; }

private:
    std::vector<YParticle> particles_;
    std::vector<YTextParticle> texts_;
    float kept_ = 0.0f;    // the running sum of shares that decides which emitted particle is kept
    float covered_ = 0.0f; // see CoveredArea
};

// The part of the camera's view a billboard of that half size at `position` covers, in squares of
// the view's height (a 4:3 view is 1.33 of them): 0 behind the camera, at most COVER_MAX.
constexpr float COVER_MAX = 2.0f;
float Cover(const YVector& position, float halfSize);

// The one pool.
extern YParticleSystem g_ParticleSystem;

// Draws queued YParticles: billboards whose half size and colour run linearly from the start to
// the end values over their lives, in their shaders. Consecutive particles of one shader go to the
// device as one strip coloured by its vertices (PARTICLE_BATCH at most), which looks as a
// billboard lit only by its emissive colour with the colour's alpha would.
constexpr int PARTICLE_BATCH = 128;

class YDrawParticle final : public YDrawObj {
public:
    void Draw(void* item) override;
    void Flush() override;

private:
    YShader* shader_ = nullptr;
    int used_ = 0; // vertices in strip_
    YColorVertex strip_[QuadStripVertices(PARTICLE_BATCH)];
};

// Draws a queued YTextParticle: its text centred on the position, facing the camera, in the
// font's shader with a colour running from start to end over its life.
class YDrawTextParticle final : public YDrawObj {
public:
    void Draw(void* item) override;
};

extern YDrawParticle g_DrawParticle;
extern YDrawTextParticle g_DrawTextParticle;

// A camera-facing square of side 2 x halfSize centred on `centre`, with the current shader and
// material. Its corners lie along the camera's diagonals: centre + (R + U) h, centre + (R - U) h,
// centre - (R + U) h, centre - (R - U) h, with texture coordinates (1, 0), (1, 1), (0, 1), (0, 0),
// so the picture stands upright on screen.
void DrawBillboard(const YVector* centre, float halfSize);
// DrawBillboard lit by nothing but its colour: a material of black colours with emissive =
// colour and diffuse alpha = colour's alpha (always sent).
void DrawTintedBillboard(const YVector* centre, float halfSize, const float colour[4]);

// One "blast" sprite (0.75 s, growing from size to 3 x size, fading to black) and sparkCount
// falling "spark" particles flying off at 4 +- 0.125 units/s on top of `velocity`, living
// 1.5 +- 0.125 s, from `colour` to sparkEndColour.
void SpawnBlast(const YVector* position, const YVector* velocity, float size, int sparkCount, const float colour[4],
                const float sparkEndColour[4]);
// `count` falling "spark" particles with velocity = random direction x 1.5 + baseVelocity x 2.5,
// living 1.5 +- 0.125 s, shrinking from size to half of it.
void SpawnSparks(const YVector* position, const YVector* baseVelocity, float size, int count,
                 const float colourStart[4], const float colourEnd[4]);
