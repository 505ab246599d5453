#include "world/racket/racket.h"

#include <cmath>

#include "core/init.h"
#include "world/balls/ball.h"
#include "world/physics/physics_world.h"
#include "world/racket/racket_tacked.h"

YRacket* g_Racket = nullptr;

YRacket::YRacket() {
    g_Racket = this;
    g_RacketLink = this;
}

YRacket::~YRacket() {
    if (g_Racket == this) g_Racket = nullptr;
    if (g_RacketLink == this) g_RacketLink = nullptr;
}

void YRacket::ApplyBallMode(YBall* ball) {
    if (GetInit().CurrentGameMode().timerBall) {
        if (ballModeTime <= 0.0f && ball->ModeIndex() != 8) return;
        ball->SetMode(ballMode, ballModeTime);
    } else {
        ball->SetMode(ballMode, -1.0f);
    }
}

bool YRacket::CatchBall(YBall* ball, const YVector* contactNormal) {
    if (glovesTime <= 0.0f || frostTime > 0.0f || held) return false;
    held = ball;
    ball->body.SetEnabled(false);
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
        // Turn d upward about the horizontal axis across it.
        const float a = DegreesToRadians(lift);
        d = YVector(d.x * std::cos(a), d.y * std::cos(a), std::sin(a));
    }
    const YVector v = d * kickSpeed;
    ball->Launch(&v, point);
    hits += 1;
    hitsSinceBreak += 1;
}

void YRacket::LaunchBall(YBall* ball) {
    const float a = DegreesToRadians(tilt);
    const YVector f(-std::sin(a), std::cos(a), 0.0f);
    const YVector point(posX + f.x * width, posY + f.y * width, 2.0f * ball->Radius());
    KickBall(ball, &f, &point);
}

YMatrix YRacket::HoldPoint(int bone) const {
    YMatrix m;
    m.MatrixSetTranslation(YVector(posX, posY + 0.75f, 1.0f + 0.25f * static_cast<float>(bone)));
    return m;
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
    if (held) {
        // The object still counts as held while it lets go: a serve is told apart by it.
        YRacketTacked* obj = held;
        obj->Release(byPlayer);
        if (held == obj) held = nullptr;
    }
}

void YRacket::TakeBomb(YRacketTacked* obj) {
    ReleaseTacked(false);
    if (held) return;
    held = obj;
    AttachHeld(obj);
}

void YRacket::TakeGrenade(YRacketTacked* obj) { TakeBomb(obj); }

bool YRacket::HeldOwnsBody(const YRigidBody* body) { return held && held->OwnsBody(body); }

bool YRacket::HeldIsListener(const YBumpEvent* listener) { return false; }

void YRacket::ShieldTick(float seconds) {
    if (shieldTime > 0.0f) shieldTime -= seconds;
}
