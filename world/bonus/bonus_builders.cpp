#include "world/bonus/bonus_builders.h"

#include "core/init.h"
#include "render/camera.h"
#include "render/mesh/mesh_draw.h"
#include "world/balls/ball.h"
#include "world/balls/ball_mode.h"
#include "world/balls/ball_mode_info.h"
#include "world/bonus/bonus.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_type.h"

namespace {

// The camera's turn (so the disk faces the viewer) at the translation of `at`.
YMatrix FacingCamera(const YMatrix& at) {
    YMatrix m = g_Camera.inverse.GetRotation();
    m.m[12] = at.m[12];
    m.m[13] = at.m[13];
    m.m[14] = at.m[14];
    return m;
}

YMatrix Offset(const YMatrix& at, const YVector& offset) {
    YMatrix t;
    t.MatrixSetTranslation(offset);
    return at * t;
}

YVector RowTimes(const YVector& v, const YMatrix3& r) {
    return {v.x * r.m[0] + v.y * r.m[3] + v.z * r.m[6], v.x * r.m[1] + v.y * r.m[4] + v.z * r.m[7],
            v.x * r.m[2] + v.y * r.m[5] + v.z * r.m[8]};
}

} // namespace

const YVector* FourBallOffsets() {
    static const struct Offsets {
        YVector o[4];
        Offsets() {
            o[0] = YVector(0.0f, 0.0f, 0.35f);
            YMatrix3 rx, rzPlus, rzMinus;
            rx.SetRotationX(-120.0f);
            rzPlus.SetRotationZ(120.0f);
            rzMinus.SetRotationZ(-120.0f);
            o[1] = RowTimes(o[0], rx);
            o[2] = RowTimes(o[1], rzPlus);
            o[3] = RowTimes(o[1], rzMinus);
        }
    } offsets;
    return offsets.o;
}

// ---------------------------------------------------------------- Give

YBonusBuilderGive::~YBonusBuilderGive() { delete type; }

YBonusType* YBonusBuilderGive::Type() {
    if (!type) type = factory();
    return type;
}

void YBonusBuilderGive::Draw(const YMatrix* world) {
    YBonusType* t = Type();
    t->shadowMode = SHADOW_NONE;
    const YMatrix m = FacingCamera(*world);
    t->SetTransform(m.m);
}

void YBonusBuilderGive::Run(const YMatrix* world, const YVector* velocity) {
    YBonusType* t = Type();
    t->shadowMode = SHADOW_VOLUME;
    const YMatrix m = FacingCamera(*world);
    const YVector rolling(0.0f, -1.0f, 0.0f);
    const bool rolls = GetInit().CurrentGameMode().bonusMode == 2;
    type = nullptr;
    new YBonus(t, m, rolls || !velocity ? rolling : *velocity);
}

// ---------------------------------------------------------------- Ball

YBonusBuilderBall::~YBonusBuilderBall() { delete mode; }

void YBonusBuilderBall::Draw(const YMatrix* world) {
    if (!mode) mode = CreateBallMode(modeIndex);
    mode->shadowMode = SHADOW_NONE;
    mode->SetMatrix(world);
}

void YBonusBuilderBall::Run(const YMatrix* world, const YVector* velocity) {
    if (!mode) mode = CreateBallMode(modeIndex);
    mode->shadowMode = SHADOW_VOLUME;
    YBall* ball = new YBall(mode, BonusBallModeDuration(modeIndex));
    mode = nullptr;
    ball->SetMatrix(world);
}

// ---------------------------------------------------------------- four small
// balls

YBonusFourBallSmall::~YBonusFourBallSmall() {
    for (YBallMode*& m : modes) {
        delete m;
        m = nullptr;
    }
}

void YBonusFourBallSmall::Draw(const YMatrix* world) {
    const YVector* offsets = FourBallOffsets();
    for (int k = 0; k < 4; ++k) {
        if (!modes[k]) modes[k] = CreateBallMode(BALL_SMALL);
        modes[k]->shadowMode = SHADOW_NONE;
        const YMatrix m = Offset(*world, offsets[k]);
        modes[k]->SetMatrix(&m);
    }
}

void YBonusFourBallSmall::Run(const YMatrix* world, const YVector* velocity) {
    const YVector* offsets = FourBallOffsets();
    for (int k = 0; k < 4; ++k) {
        YBall* ball;
        if (modes[k]) {
            modes[k]->shadowMode = SHADOW_VOLUME;
            ball = new YBall(modes[k], -1.0f);
            modes[k] = nullptr;
        } else {
            ball = new YBall(BALL_SMALL);
        }
        const YMatrix m = Offset(*world, offsets[k]);
        ball->SetMatrix(&m);
    }
}
