#include "world/balls/ball.h"

#include <algorithm>
#include <cmath>

#include "render/scene/particles.h"
#include "sound/sound_fx.h"
#include "world/balls/racket_hand.h"
#include "world/blocks/block.h"
#include "world/effects/world_sound.h"
#include "world/physics/table_size.h"

namespace {

std::vector<YBall*>& Balls() {
    static std::vector<YBall*> list;
    return list;
}

bool Finite(const YVector& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

} // namespace

const std::vector<YBall*>& BallList() { return Balls(); }

YBall::YBall(int modeIndex) : mode(CreateBallMode(modeIndex)), body(mode->radius, 0, BALL_BODY_SPEED), modeTime(-1.0f) {
    Attach();
}

YBall::YBall(YBallMode* mode_, float modeTime_)
    : mode(mode_ ? mode_ : CreateBallMode(BALL_NORMAL)), body(mode->radius, 0, BALL_BODY_SPEED), modeTime(modeTime_) {
    Attach();
}

void YBall::Attach() {
    kind = TACKED_BALL;
    boneIndex = 0;
    mode->owner = this;
    mode->ApplyBody();
    wantedMode = mode->index;
    Balls().push_back(this);
}

YBall::~YBall() {
    std::vector<YBall*>& list = Balls();
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end()) {
        *it = list.back();
        list.pop_back();
    }
    if (BlockEffectsEnabled) {
        static YSoundFx* sound = GetSoundFx("destroy_ball");
        static const float colour[4] = {1.0f, 0.7f, 0.2f, 1.0f};
        static const float sparkEnd[4] = {0.7f, 0.0f, 0.0f, 1.0f};
        YMatrix m;
        body.GetMatrix(&m);
        const YVector p(m.m[12], m.m[13], m.m[14]);
        if (Finite(p)) {
            YVector v;
            body.GetLinearVel(&v);
            SpawnBlast(&p, &v, 2.0f * mode->radius, 7, colour, sparkEnd);
            PlayWorldSound(sound, &p);
        }
    }
    body.listener = nullptr;
    delete mode;
    mode = nullptr;
}

void YBall::SetMode(int index, float time) {
    wantedMode = (index >= 0 && index < BALL_MODE_COUNT) ? index : BALL_NORMAL;
    modeTime = time;
}

void YBall::SetupBody(float mass, int collisionKind, float speed) {
    const float r = mode ? mode->radius : body.GetRadius();
    body.Configure(r, collisionKind, speed, mode ? static_cast<YBumpEvent*>(mode) : nullptr);
    const float i = 0.4f * mass * (0.1f * r) * (0.1f * r) * 0.01f;
    const YVector inertia(i, i, i);
    body.SetMassDiagonal(mass, &inertia, false);
}

void YBall::Launch(const YVector* launch, const YVector* position) {
    body.Launch(launch, position);
    if (kickCooldown <= 0.0f) {
        const YVector p = mode->Position();
        PlayWorldSound(mode->kickSound, &p);
        kickCooldown = 0.25f;
    }
}

void YBall::SetTransform(const YMatrix* m) {
    mode->SetTransform(m->m);
    body.SetMatrix(m);
}

void YBall::Release(bool byPlayer) {
    YRacketTacked::Release(byPlayer);
    body.SetEnabled(true);
    if (g_RacketHand) g_RacketHand->LaunchBall(this);
}

void YBall::Update(float dt) {
    YRacketTacked::Update(dt);
    if (kickCooldown > 0.0f) kickCooldown -= dt;
    if (modeTime >= 0.0f) {
        modeTime -= dt;
        if (modeTime < 0.0f) wantedMode = BALL_NORMAL;
    }
    if (mode->index != wantedMode) {
        static YSoundFx* mutation = GetSoundFx("mutation");
        const YMatrix kept = mode->world;
        delete mode;
        mode = CreateBallMode(wantedMode);
        mode->SetTransform(kept.m);
        mode->owner = this;
        mode->ApplyBody();
        const YVector p(kept.m[12], kept.m[13], kept.m[14]);
        PlayWorldSound(mutation, &p);
    }

    YMatrix m;
    body.GetMatrix(&m);
    const YVector p(m.m[12], m.m[13], m.m[14]);
    // A position that is no number is scheduled at once by the play-area test; nothing of it may
    // reach the drawable, the effects or the racket.
    if (IsOutOfBounds(&p, 2.0f * mode->radius)) Schedule(UsualDelay());
    if (!Finite(p)) return;
    mode->SetTransform(m.m);
    mode->Update(dt);

    if (!g_RacketHand) {
        body.Update(dt);
        return;
    }
    if (g_RacketHand->Holds(this)) {
        g_RacketHand->HoldBall(this);
        return;
    }
    body.Update(dt);
    g_RacketHand->MeetBall(this, p);
}
