#include "world/racket/racket.h"

#include <cmath>

#include "core/init.h"
#include "platform/sys/crt_rand.h"
#include "render/shader.h"
#include "world/balls/ball.h"
#include "world/blocks/block_hooks.h"
#include "world/physics/physics_world.h"
#include "world/physics/unconnected.h"
#include "world/racket/hero_model.h"
#include "world/racket/racket_tacked.h"
#include "world/racket/racket_update.h"

YRacket* g_Racket = nullptr;
void (*g_ClearHudCaptions)() = [] { UnconnectedWorldCall("racket: clear captions"); };

namespace {

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

} // namespace

YRacket::YRacket(YGameEvent* listener_) : hero(HeroSkelMesh()), frostCover(&hero, 1.0f, 0.05f, 2), listener(listener_) {
    g_Racket = this;
    g_RacketLink = this;

    hero.shaders = {FindShader("hero"), FindShader("hero1"), FindShader("hero2"), FindShader("hero3")};
    hero.shadowMode = SHADOW_PLANAR;
    hero.drawFlags = 2;
    hero.rate = 100.0f;
    frostCover.shaders = {FindShader("frost")};
    frostCover.visible = 0;
    frostCover.shadowMode = SHADOW_NONE;
    arrowShader = FindShader("arrow");

    RacketWalk().parkedAngle = Unit() * 10.0f;
    RacketWalk().parkedKey = 0;
    hero.SetPose(0, false);
    hero.StartChannel(0, -1.0f, -1.0f);
    walkRange = width;
}

YRacket::~YRacket() {
    if (g_Racket == this) g_Racket = nullptr;
    if (g_RacketLink == this) g_RacketLink = nullptr;
}

bool YRacket::CatchBall(YBall* ball, const YVector* contactNormal) {
    if (glovesTime <= 0.0f || frostTime > 0.0f || held) return false;
    held = ball;
    ball->body.SetEnabled(false);
    hero.StartChannel(5, -1.0f, -1.0f);
    hero.StartChannel(6, -1.0f, -1.0f);
    PlayHitAnimation(contactNormal);
    return true;
}

void YRacket::KickBall(YBall* ball, const YVector* normal, const YVector* point) {
    YVector d(normal->x, normal->y, 0.0f);
    const float len = std::sqrt(d.x * d.x + d.y * d.y);
    if (len < 1e-6f) {
        d = YVector(0.0f, 1.0f, 0.0f);
    } else {
        d = d * (1.0f / len);
    }
    const float s = g_PhysicsWorld.ballSpeedFactor;
    float lift = 0.0f;
    if (GetInit().CurrentGameMode().lowBall) {
        if (held == ball) lift = 30.0f / s;
    } else if (frostTime <= 0.0f) {
        lift = std::fmin(60.0f, aimAngle / s);
    }
    if (lift != 0.0f) {
        // The lift turns d about the x axis, the line the hero walks along: a kick up the table
        // climbs by the whole angle, a slanting one by less and one straight along the racket not
        // at all. A kick back towards the player (d.y < 0) turns the other way round, so that it
        // rises as well rather than being driven down into the table.
        YMatrix turn;
        turn.SetRotationX(d.y < 0.0f ? -lift : lift);
        d = turn.TransformPoint(d);
    }
    const YVector v = d * kickSpeed;
    ball->Launch(&v, point);
    PlayHitAnimation(normal);
    hits += 1;
    hitsSinceBreak += 1;
    if (hitsSinceBreak > 10) {
        // Too long without a break: a bonus that ends the level falls.
        BlockHooks().dropNextBonus();
        hitsSinceBreak /= 2;
    }
}

void YRacket::LaunchBall(YBall* ball) {
    const float a = DegreesToRadians(tilt);
    const YVector f(-std::sin(a), std::cos(a), 0.0f);
    const YVector point(posX + f.x * width, posY + f.y * width, 2.0f * ball->Radius());
    KickBall(ball, &f, &point);
    hero.StopChannel(5, -1.0f);
}

YMatrix YRacket::Placement() const {
    YMatrix m;
    m.SetRotationZ(tilt + 180.0f);
    m.m[12] = posX;
    m.m[13] = posY;
    m.m[14] = 0.0f;
    return m;
}

YMatrix YRacket::HoldPoint(int bone) const {
    YMatrix local;
    if (bone >= 0 && static_cast<std::size_t>(bone) < hero.attachments.size()) {
        local = hero.attachments[static_cast<std::size_t>(bone)];
    } else {
        // A model without that point: in front of the figure (it faces -y) at hand height.
        local.MatrixSetTranslation(YVector(0.0f, -0.75f, 1.0f + 0.25f * static_cast<float>(bone)));
    }
    return Placement() * local;
}

void YRacket::AttachHeld(YRacketTacked* obj) {
    if (!obj) return;
    const YMatrix m = HoldPoint(obj->boneIndex);
    obj->SetMatrix(&m);
}

bool YRacket::Touches(const YVector* p, float radius) const {
    const float dx = p->x - posX;
    const float dy = p->y - posY;
    const float d2 = dx * dx + dy * dy;
    if (!(d2 > 0.0f)) return d2 == 0.0f;
    const float len = std::sqrt(d2);
    const float ux = dx / len;
    const float uy = dy / len;
    const float a = (1.0f + radius) * uy;
    const float b = (0.5f * width + radius) * ux;
    return d2 < a * a + b * b;
}

void YRacket::ReleaseTacked(bool byPlayer) {
    if (state != 0) return;
    if (frostTime > 0.0f && byPlayer) return;
    hero.StopChannel(21, -1.0f);
    if (held) {
        // The object still counts as held while it lets go: a serve is told apart by it.
        YRacketTacked* obj = held;
        obj->Release(byPlayer);
        if (held == obj) held = nullptr;
    }
}

bool YRacket::HeldOwnsBody(const YRigidBody* body) { return held && held->OwnsBody(body); }

bool YRacket::HeldIsListener(const YBumpEvent* listener) { return false; }
