#include "world/play/autopilot.h"

#include <algorithm>
#include <cmath>

#include "world/balls/ball.h"
#include "world/balls/racket_tacked.h"
#include "world/blocks/block.h"
#include "world/blocks/block_set.h"
#include "world/blocks/block_single.h"
#include "world/bonus/bonus.h"
#include "world/physics/table_size.h"
#include "world/racket/racket.h"

namespace {

// A ball that reaches the racket's line sooner than this is the hero's first concern; later ones
// leave time to fetch a bonus.
constexpr float NEAR_SECONDS = 1.2f;
// The largest sideways part of the kick's direction the aim asks for: flatter kicks only bounce
// between the side walls.
constexpr float MAX_SIDEWAYS = 0.6f;
// How long the hero waits with a held object at most (frames), once it stands where it serves from.
constexpr int SERVE_WAIT_MIN = 5;
constexpr int SERVE_WAIT_MAX = 40;
constexpr int SERVE_WAIT_WALKING = 150;

// x of a body moving from x with speed vx for t seconds between walls at -limit and +limit.
float FoldBetweenWalls(float x, float vx, float t, float limit) {
    float p = x + vx * t;
    if (!(limit > 0.0f)) return 0.0f;
    const float period = 4.0f * limit;
    p = std::fmod(p + limit, period);
    if (p < 0.0f) p += period;
    if (p > 2.0f * limit) p = period - p;
    return p - limit;
}

struct Arrival {
    float seconds = INFINITY; // until it reaches the line; infinity: it does not come
    float x = 0.0f;           // where it crosses the line
};

// When and where a body at p moving with v crosses the line y = lineY, coming down the table.
Arrival Crossing(const YVector& p, const YVector& v, float lineY, float radius) {
    Arrival a;
    if (!(v.y < -0.05f) || !(p.y > lineY)) return a;
    a.seconds = (p.y - lineY) / -v.y;
    a.x = FoldBetweenWalls(p.x, v.x, a.seconds, g_TableSize.halfWidth - radius);
    return a;
}

YVector Translation(const YMatrix& m) { return {m.m[12], m.m[13], m.m[14]}; }

} // namespace

YAutopilot::YAutopilot(uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {
    if (state_ == 0) state_ = 1;
}

uint32_t YAutopilot::Next() {
    // xorshift32
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

float YAutopilot::Uniform(float lo, float hi) {
    return lo + (hi - lo) * static_cast<float>(Next() >> 8) / static_cast<float>(1u << 24);
}

bool YAutopilot::PickAim(YVector* out) {
    // Reservoir choice over every block and set cell still to break: no list is built.
    int seen = 0;
    for (YBlock* block : g_BlockWorld.blocks) {
        if (block->Dying()) continue;
        if (auto* single = dynamic_cast<YBlockSingle*>(block)) {
            if (!(single->health > 0.0f)) continue;
            if (Next() % static_cast<uint32_t>(++seen) == 0) *out = single->GetPosition();
        } else if (auto* set = dynamic_cast<YBlockSet*>(block)) {
            for (const YBlockItem* item : set->items) {
                if (!(item->health > 0.0f)) continue;
                if (Next() % static_cast<uint32_t>(++seen) == 0) *out = Translation(set->ItemMatrix(item));
            }
        }
    }
    return seen > 0;
}

float YAutopilot::Steer(const YRacket& racket, float x) {
    const float half = racket.HalfTrack();
    if (!(half > 0.0f)) return NAN;
    x = std::clamp(x, -half, half);
    // A mouse that rests sends nothing; one that moves sends its place.
    if (std::fabs(racket.target - x) < 0.02f) return NAN;
    return x / half;
}

YPlayFrame YAutopilot::Frame(int, const YRacket& racket) {
    YPlayFrame input{NAN, false};
    if (racket.state != RACKET_PLAY) {
        serveWait_ = -1;
        return input;
    }
    if (racket.hitsSinceBreak != lastHits_) {
        // A kick that broke nothing: the next approach aims elsewhere.
        if (racket.hitsSinceBreak > lastHits_) approaching_ = nullptr;
        lastHits_ = racket.hitsSinceBreak;
    }

    // Holding something: walk under a block still standing, then let go.
    if (racket.held) {
        if (serveWait_ < 0) {
            if (!PickAim(&aim_)) aim_ = YVector(racket.posX, 0.0f, 0.0f);
            aim_.x += Uniform(-0.3f, 0.3f);
            serveWait_ = SERVE_WAIT_WALKING;
        }
        input.target = Steer(racket, aim_.x);
        const bool there = std::fabs(racket.posX - std::clamp(aim_.x, -racket.HalfTrack(), racket.HalfTrack())) < 0.2f;
        if (there && serveWait_ > SERVE_WAIT_MAX)
            serveWait_ = SERVE_WAIT_MIN + static_cast<int>(Next() % (SERVE_WAIT_MAX - SERVE_WAIT_MIN));
        if (--serveWait_ <= 0) {
            input.click = true;
            serveWait_ = -1;
        }
        return input;
    }
    serveWait_ = -1;

    // The ball that reaches the racket's line first; balls that do not keep the round alive count
    // only when no other comes.
    const float reach = 0.5f * racket.width;
    const YBall* first = nullptr;
    Arrival firstArrival;
    bool firstInPlay = false;
    const YBall* nearest = nullptr;
    float nearestDistance = INFINITY;
    YVector p, v;
    for (YBall* ball : BallList()) {
        if (!ball->body.IsEnabled()) continue;
        ball->body.GetPosition(&p);
        ball->body.GetLinearVel(&v);
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
        const bool inPlay = ball->IsBallInPlay();
        const float distance = std::fabs(p.y - racket.posY) + std::fabs(p.x - racket.posX);
        if (distance < nearestDistance && (inPlay || !nearest)) {
            nearest = ball;
            nearestDistance = distance;
        }
        // The ball touches the racket when its centre comes within half the width plus its radius of
        // the hero's centre; most kicks meet it about there in front of the hero.
        const Arrival a = Crossing(p, v, racket.posY + 0.8f * (reach + ball->Radius()), ball->Radius());
        if (!std::isfinite(a.seconds)) continue;
        const bool better = (inPlay && !firstInPlay) || ((inPlay == firstInPlay) && a.seconds < firstArrival.seconds);
        if (!first || better) {
            first = ball;
            firstArrival = a;
            firstInPlay = inPlay;
        }
    }

    // No ball close: the bonus that lands first, while the hero can still get back in time.
    if (!first || firstArrival.seconds > NEAR_SECONDS) {
        Arrival bonusArrival;
        for (const YBonus* bonus : BonusList()) {
            if (bonus->caught || bonus->scheduled) continue;
            bonus->body.GetPosition(&p);
            bonus->body.GetLinearVel(&v);
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
            const Arrival a = Crossing(p, v, racket.posY + 1.0f, bonus->baseRadius);
            if (!std::isfinite(a.seconds)) continue;
            if (first && a.seconds + 0.5f > firstArrival.seconds) continue;
            if (a.seconds < bonusArrival.seconds) bonusArrival = a;
        }
        if (std::isfinite(bonusArrival.seconds)) {
            input.target = Steer(racket, bonusArrival.x);
            return input;
        }
    }

    if (first) {
        if (first != approaching_) {
            approaching_ = first;
            if (!PickAim(&aim_)) aim_ = YVector(0.0f, g_TableSize.halfDepth, 0.0f);
            // The longer nothing breaks, the wider the aim strays.
            const float spread = 0.1f + 0.04f * static_cast<float>(std::min(racket.hitsSinceBreak, 10));
            jitter_ = Uniform(-spread, spread);
        }
        // The kick leaves along the line from the hero's centre through the contact: stand so that
        // this line points at the aim.
        const float r = reach + first->Radius();
        const float lineY = racket.posY + 0.8f * r;
        const float dx = aim_.x - firstArrival.x;
        const float dy = std::max(aim_.y - lineY, 1.0f);
        const float len = std::sqrt(dx * dx + dy * dy);
        const float side = std::clamp(dx / len + jitter_, -MAX_SIDEWAYS, MAX_SIDEWAYS);
        input.target = Steer(racket, firstArrival.x - side * r * 0.9f);
        return input;
    }

    // Nothing comes: stay under the nearest ball.
    if (nearest) {
        nearest->body.GetPosition(&p);
        input.target = Steer(racket, p.x);
    }
    return input;
}
