#include "world/blocks/block.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/init.h"
#include "platform/sys/crt_rand.h"
#include "render/camera.h"
#include "render/font.h"
#include "render/scene/particles.h"
#include "sound/sound_fx.h"
#include "world/blocks/block_faces.h"
#include "world/blocks/block_hooks.h"
#include "world/blocks/block_material.h"
#include "world/blocks/splinter.h"
#include "world/physics/rigid_body.h"
#include "world/physics/table_size.h"
#include "world/table/table.h"

YBlockWorld g_BlockWorld;
bool BlockEffectsEnabled = true;

namespace {

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

bool Finite(const YMatrix& m) { return std::isfinite(m.m[12]) && std::isfinite(m.m[13]) && std::isfinite(m.m[14]); }

} // namespace

YBlock::YBlock() {
    matrix.MatrixSetTranslation({0, 0, 0});
    listIndex_ = g_BlockWorld.blocks.size();
    g_BlockWorld.blocks.push_back(this);
}

YBlock::~YBlock() {
    // The block knows its place: no search through thousands of blocks when many break at once.
    auto& list = g_BlockWorld.blocks;
    std::size_t i = listIndex_;
    if (i >= list.size() || list[i] != this) {
        // The list was reordered behind the blocks' backs: look for it.
        i = static_cast<std::size_t>(std::find(list.begin(), list.end(), this) - list.begin());
        if (i == list.size()) return;
    }
    YBlock* last = list.back();
    list[i] = last;
    last->listIndex_ = i;
    list.pop_back();
}

void YBlock::ScheduleDeath() { Schedule(0.15f + 0.025f * Unit() - 0.0125f); }

void DeleteAllBlocks() {
    BlockEffectsEnabled = false;
    auto& list = g_BlockWorld.blocks;
    while (!list.empty()) delete list.back();
    g_ParticleSystem.Clear();
    BlockHooks().deleteAllTacked();
    BlockEffectsEnabled = true;
}

bool IsBlockAlive(const YBlock* block) {
    const auto& list = g_BlockWorld.blocks;
    return std::find(list.begin(), list.end(), block) != list.end();
}

YBlock* PickRandomBlockInReach(uint32_t seed, const YVector& from, float maxDistance) {
    auto& list = g_BlockWorld.blocks;
    if (list.empty()) return nullptr;
    plat::CrtSrand(seed);
    YBlock* b = list[static_cast<std::size_t>(plat::CrtRand()) % list.size()];
    return b->ReachTest(static_cast<uint32_t>(plat::CrtRand()), from, maxDistance);
}

void UpdateAllBlocks(float dt) {
    BlockFaceList().clear();
    auto& list = g_BlockWorld.blocks;
    for (std::size_t i = 0; i < list.size(); ++i) list[i]->Update(dt);
    QueueBlockFaces();
}

void BlockWorldUpdate(float dt, bool timerOn) {
    YBlockWorld& w = g_BlockWorld;
    w.blocksLeft = 0;
    w.blocksInPlay = 0;
    UpdateAllBlocks(dt);
    if (timerOn) {
        if (w.blocksInPlay >= 5) {
            w.fewBlocksTimer = 0.0f;
        } else {
            if (w.fewBlocksTimer == 0.0f || w.blocksInPlay != w.lastInPlay) {
                w.fewBlocksTimer = 15.0f + 3.0f * Unit() - 1.5f;
            }
            if (w.fewBlocksTimer > 0.0f) {
                w.fewBlocksTimer -= dt;
                if (w.fewBlocksTimer <= 0.0f) {
                    BlockHooks().dropNextBonus();
                    w.fewBlocksTimer = 0.0f;
                }
            }
        }
    }
    w.lastInPlay = w.blocksInPlay;
}

bool AllBlocksCleared() { return !g_BlockWorld.levelRefused && g_BlockWorld.blocksLeft == 0; }

bool BlockOnTable(const YVector& p) {
    if (g_Table) return g_Table->IsInside(&p);
    return p.z >= 0.0f && std::fabs(p.x) < g_TableSize.halfWidth && std::fabs(p.y) < g_TableSize.halfDepth;
}

float StrokeVolume(float strength, float bodyMass) {
    if (!(bodyMass > 0.0f)) return 1.0f;
    return std::min(1.0f, strength / bodyMass * 0.1f);
}

void SpawnDamagePopup(const YVector& p, float strength) {
    if (!GetInit().CurrentGameMode().popupLosses) return;
    if (!(strength >= 1.0f) || strength > 2e9f) return;
    static YFont* font = FindFont("billboard");
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(strength));
    const YVector pos = p + g_Camera.back * 2.0f;
    const YVector vel(0, 0, 1.5f);
    const float from[4] = {1, 0.5f, 0.5f, 1}, to[4] = {1, 0.5f, 0.5f, 0};
    g_ParticleSystem.EmitText(text, 0.75f, 0.5f, &pos, &vel, font, from, to);
}

void SpawnScorePopup(const YVector& p, int32_t points) {
    if (!GetInit().CurrentGameMode().popupScores) return;
    static YFont* font = FindFont("billboard");
    char text[16];
    std::snprintf(text, sizeof text, "+%d", points);
    const YVector pos = p + g_Camera.back * 2.0f;
    const YVector vel(0, 0, 1.5f);
    const float from[4] = {1, 1, 1, 1}, to[4] = {1, 1, 1, 0};
    g_ParticleSystem.EmitText(text, 0.75f, 0.75f, &pos, &vel, font, from, to);
}

void SpawnBlockDebris(const YBlockType* type, const YMatrix& m, YRigidBody* body) {
    if (!type || !Finite(m)) return;
    float splits[8];
    for (float& s : splits) s = 0.5f * Unit() + 0.5f - 0.25f;
    const float life = 0.5f * Unit() + 1.0f - 0.25f;
    // The pieces made are the splinters' share of the eight (all of them unless many splinters
    // live already), picked by a running sum so that the choice is even and repeatable; the sum
    // starts afresh whenever no splinter lives, so a level plays the same in every run.
    static float made = 0.0f;
    if (YSplinter::LiveCount() == 0) made = 0.0f;
    for (int i = 0; i < 8; ++i) {
        made += YSplinter::Share();
        if (made < 1.0f) continue;
        made -= 1.0f;
        new YSplinter(type, m, i, splits, life, body);
    }
    const YVector pos(m.m[12], m.m[13], m.m[14]);
    YVector vel(0, 0, 0);
    if (body) body->GetLinearVel(&vel);
    const YVector& h = type->halfExtents;
    const float colour[4] = {1.0f, 0.7f, 0.2f, 1.0f}, sparkEnd[4] = {0.7f, 0.0f, 0.0f, 1.0f};
    SpawnBlast(&pos, &vel, std::min({h.x, h.y, h.z}), 20, colour, sparkEnd);
    PlaySoundFx(type->material->soundDestroy, &pos, 1.0f, &vel);
}

void ScoreDestroyedBlock(const YBlockType* type, const YVector& position) {
    const int32_t points = type->material->scores;
    BlockHooks().blockDestroyed(points);
    SpawnScorePopup(position, points);
}
