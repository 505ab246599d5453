// The specials that put things elsewhere: the generator makes small balls on its faces, the
// teleport sends what touches it to another teleport block.
#include <algorithm>

#include "platform/sys/crt_rand.h"
#include "render/scene/particles.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "world/balls/ball.h"
#include "world/blocks/special_links.h"
#include "world/effects/world_sound.h"
#include "world/physics/table_size.h"
#include "world/specials/block_specials.h"
#include "world/specials/spawn_point.h"

namespace {

constexpr unsigned ALL_FACES = 0x3F;

float Rand01() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

YVector RandomDirection() {
    for (;;) {
        YVector d(Rand01() - 0.5f, Rand01() - 0.5f, Rand01() - 0.5f);
        const float len = std::sqrt(d.Dot(d));
        if (len > 1e-6f) return d * (1.0f / len);
    }
}

std::vector<YBlockTeleport*>& Teleports() {
    static std::vector<YBlockTeleport*> list;
    return list;
}

// A spawn point on a single block or a set item, from a random start face.
bool SpawnPointOf(YBlockSingle* block, YBlockSet* set, YBlockItem* item, YVector* point) {
    YMatrix world;
    YVector size;
    unsigned faces = ALL_FACES;
    if (block) {
        SingleBlockPlace(block, &world, &size);
    } else {
        SetItemPlace(set, item, &world, &size);
        faces = SetItemVisibleFaces(set, item);
    }
    return FindSpawnPoint(world, size * 0.5f, faces, plat::CrtRand() % 6, g_TableSize.halfWidth, g_TableSize.halfDepth,
                          point);
}

} // namespace

// ---- Generator ----

void YBlockGenerator::Update(float dt, YBlockSingle* block) {
    if (coolDown >= 0.0f) coolDown -= dt;
}

void YBlockGenerator::Update(float dt, YBlockSet* set, YBlockItem* item) {
    if (coolDown >= 0.0f) coolDown -= dt;
}

bool YBlockGenerator::Hit(YBumpEvent* other, YBlockSingle* block) {
    YBall* ball = other ? other->GetBall() : nullptr;
    if (!ball || coolDown > 0.0f || ball->ModeIndex() == BALL_SMALL) return true;
    YVector p;
    if (!SpawnPointOf(block, nullptr, nullptr, &p)) return true;
    return Spawn(other, YMatrix(), p, 0);
}

bool YBlockGenerator::Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) {
    YBall* ball = other ? other->GetBall() : nullptr;
    if (!ball || coolDown > 0.0f || ball->ModeIndex() == BALL_SMALL) return true;
    YVector p;
    if (!SpawnPointOf(nullptr, set, item, &p)) return true;
    return Spawn(other, YMatrix(), p, 0);
}

bool YBlockGenerator::Spawn(YBumpEvent* other, const YMatrix& unused, const YVector& p, unsigned) {
    static YSoundFx* sound = GetSoundFx("small_ball");
    YMatrix m;
    m.MatrixSetTranslation(p);
    YBall* ball = new YBall(BALL_SMALL);
    ball->SetTransform(&m);
    PlayWorldSound(sound, &p);
    coolDown = 1.0f;
    return true;
}

// ---- Teleport ----

const std::vector<YBlockTeleport*>& TeleportList() { return Teleports(); }

YBlockTeleport::YBlockTeleport() { Teleports().push_back(this); }

YBlockTeleport::~YBlockTeleport() {
    std::vector<YBlockTeleport*>& list = Teleports();
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end()) {
        *it = list.back();
        list.pop_back();
    }
}

void YBlockTeleport::Update(float dt, YBlockSingle* block) {
    ownerBlock = block;
    ownerSet = nullptr;
    ownerItem = nullptr;
    if (coolDown >= 0.0f) coolDown -= dt;
}

void YBlockTeleport::Update(float dt, YBlockSet* set, YBlockItem* item) {
    ownerBlock = nullptr;
    ownerSet = set;
    ownerItem = item;
    if (coolDown >= 0.0f) coolDown -= dt;
}

bool YBlockTeleport::Hit(YBumpEvent* other, YBlockSingle* block) { return Send(other); }

bool YBlockTeleport::Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) { return Send(other); }

bool YBlockTeleport::Send(YBumpEvent* other) {
    const std::vector<YBlockTeleport*>& list = Teleports();
    if (!other || list.size() < 2) return true;
    if (coolDown > 0.0f) return false;
    const size_t n = list.size();
    const size_t r = static_cast<size_t>(plat::CrtRand()) % n;
    for (size_t i = 0; i < n; ++i) {
        YBlockTeleport* d = list[(i + r) % n];
        if (d == this || (!d->ownerBlock && !d->ownerSet)) continue;
        YVector P;
        if (!SpawnPointOf(d->ownerBlock, d->ownerSet, d->ownerItem, &P)) continue;

        static YSoundFx* sound = GetSoundFx("teleport");
        static YShader* spark = FindShader("teleport_spark");
        static const float colour[4] = {0.0f, 0.5f, 1.0f, 1.0f};
        d->coolDown = 0.5f;
        YMatrix from;
        other->GetMatrix(&from);
        const YVector P0(from.m[12], from.m[13], from.m[14]);
        YMatrix to;
        to.MatrixSetTranslation(P);
        other->SetMatrix(&to);
        const YVector v = (P - P0) * 6.6666665f;
        PlayWorldSound(sound, &P, -1.0f, &v);
        for (int k = 0; k < 10; ++k) {
            const YVector a = P0 + RandomDirection() * 0.75f;
            const YVector b = P + RandomDirection() * 0.75f;
            const float life = 0.15f + 0.105f * Rand01() - 0.0525f;
            const YVector vel = (b - a) * (1.0f / life);
            g_ParticleSystem.Emit(life, 0.3f, 0.2f, &a, &vel, -1.0f, nullptr, spark, colour, colour);
        }
        return false;
    }
    return true;
}
