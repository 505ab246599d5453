#include "world/bonus/bonus.h"

#include <algorithm>
#include <cmath>

#include "core/init.h"
#include "render/scene/particles.h"
#include "sound/sound_fx.h"
#include "world/blocks/block.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_type.h"
#include "world/effects/world_sound.h"
#include "world/physics/unconnected.h"
#include "world/racket/racket.h"

void (*g_BonusCaptionHook)(const std::string& text, const YColor& colour) = [](const std::string&, const YColor&) {
    UnconnectedWorldCall("bonus: caption");
};

namespace {

std::vector<YBonus*>& Bonuses() {
    static std::vector<YBonus*> bonuses;
    return bonuses;
}

int SphereKind(int bonusMode) {
    switch (bonusMode) {
        case 0: return 0;
        case 2: return 1;
        default: return 2;
    }
}

bool Finite(const YVector& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

int caughtInPlay = 0;

} // namespace

int BonusesCaught() { return caughtInPlay; }

YBonus::YBonus(YBonusType* type_, const YMatrix& at, const YVector& velocity)
    : type(type_),
      body(type_->radius, SphereKind(GetInit().CurrentGameMode().bonusMode), 7.0f),
      baseRadius(type_->radius) {
    const float v = baseRadius * baseRadius * 0.12f * 0.01f;
    const YVector inertia(v, v, v);
    body.SetMassDiagonal(0.3f, &inertia, false);
    body.SetMatrix(&at);
    body.SetLinearVel(&velocity);
    body.listener = this;
    type->SetTransform(at.m);
    Bonuses().push_back(this);
}

YBonus::~YBonus() {
    std::vector<YBonus*>& list = Bonuses();
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end()) {
        *it = list.back();
        list.pop_back();
    }
    if (!caught && BlockEffectsEnabled) {
        static YSoundFx* sound = GetSoundFx("destroy_ball");
        static const float colour[4] = {1.0f, 0.7f, 0.2f, 1.0f};
        static const float sparkEnd[4] = {0.7f, 0.0f, 0.0f, 1.0f};
        YVector p;
        body.GetPosition(&p);
        if (Finite(p)) {
            YVector vel;
            body.GetLinearVel(&vel);
            SpawnBlast(&p, &vel, 2.0f * type->radius, 7, colour, sparkEnd);
            PlayWorldSound(sound, &p);
        }
    }
    body.listener = nullptr;
    delete type;
}

void YBonus::Update(float dt) {
    if (GetInit().CurrentGameMode().swellBonuses && scale < BONUS_SWELL_MAX) {
        scale = std::min(scale + BONUS_SWELL_RATE * dt, BONUS_SWELL_MAX);
        type->radius = scale * baseRadius;
        body.SetRadius(type->radius);
    }
    body.Update(dt);
    YMatrix m;
    body.GetMatrix(&m);
    YMatrix scaling;
    scaling.MatrixSetTranslation(YVector(0.0f, 0.0f, 0.0f));
    scaling.m[0] = scaling.m[5] = scaling.m[10] = scale;
    const YMatrix drawn = m * scaling;
    type->SetTransform(drawn.m);

    const YVector p(m.m[12], m.m[13], m.m[14]);
    // A bonus already caught or lost waits for its deletion: it must not take
    // effect again.
    if (caught || scheduled) return;
    if (g_Racket && Finite(p) && g_Racket->Touches(&p, type->radius)) {
        if (g_Racket->state == 0) {
            ++caughtInPlay;
            const int points = BonusConfig(type->kind).score;
            type->Apply(&p);
            g_Racket->AddScore(points);
            // Read after Apply: a Random bonus sounds and shows as the kind it drew.
            const YBonusConfig& config = BonusConfig(type->kind);
            const YVector still(0.0f, 0.0f, 0.0f);
            PlayWorldSound(type->sound, &p, -1.0f, &still);
            g_BonusCaptionHook(config.text + ": +" + std::to_string(points), config.colour);
        }
        caught = true;
        Schedule(0.0f);
        return;
    }
    if (IsOutOfBounds(&p, type->radius)) Schedule(YZDelete::UsualDelay());
}

void YBonus::OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                       const YVector* position, const YVector* normal, float depth) {
    if (other == nullptr && normal->y > 0.9f && g_RacketLink) g_RacketLink->ShieldTick(5.0f);
}

void YBonus::SetMatrix(const YMatrix* matrix) {
    body.SetMatrix(matrix);
    type->SetTransform(matrix->m);
}

YMatrix* YBonus::GetMatrix(YMatrix* result) { return body.GetMatrix(result); }

const std::vector<YBonus*>& BonusList() { return Bonuses(); }

void UpdateBonuses(float dt) {
    std::vector<YBonus*>& list = Bonuses();
    for (std::size_t i = 0; i < list.size(); ++i) list[i]->Update(dt);
}

void DeleteAllBonuses() {
    std::vector<YBonus*>& list = Bonuses();
    while (!list.empty()) delete list.back();
}
