#include "world/play/headless_run.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "platform/sys/crt_rand.h"
#include "world/balls/racket_tacked.h"
#include "world/blocks/block.h"
#include "world/blocks/block_material.h"
#include "world/blocks/block_set.h"
#include "world/blocks/block_single.h"
#include "world/bonus/bonus.h"
#include "world/level/level_loader.h"
#include "world/physics/physics_world.h"
#include "world/physics/zdelete.h"
#include "world/racket/racket.h"
#include "world/table/table.h"

#include <ode/ode.h>

namespace {

class Fnv {
public:
    void Add(const void* data, std::size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            hash_ ^= p[i];
            hash_ *= 1099511628211ull;
        }
    }
    void Int(int64_t v) { Add(&v, sizeof v); }
    void Float(float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        Add(&bits, sizeof bits);
    }
    void Point(const YMatrix& m) {
        Float(m.m[12]);
        Float(m.m[13]);
        Float(m.m[14]);
    }
    uint64_t Value() const { return hash_; }

private:
    uint64_t hash_ = 14695981039346656037ull;
};

uint64_t StateHash(const YRacket& racket, int frames) {
    Fnv h;
    h.Int(frames);
    h.Int(racket.score);
    h.Int(racket.lives);
    h.Int(racket.state);
    h.Int(racket.hits);
    h.Float(racket.posX);
    h.Float(racket.target);
    h.Int(static_cast<int64_t>(g_BlockWorld.blocksLeft));
    for (YRacketTacked* obj : TackedList()) {
        YMatrix m;
        obj->GetMatrix(&m);
        h.Int(obj->kind);
        h.Point(m);
    }
    for (YBlock* block : g_BlockWorld.blocks) h.Point(block->matrix);
    return h.Value();
}

bool Hard(const YBlockType* type) { return type && type->material && type->material->health >= HARD_BLOCK_HEALTH; }

// Blocks and set cells still to break (health above 0) that are made of a hard material.
int HardBlocksLeft() {
    int hard = 0;
    for (YBlock* block : g_BlockWorld.blocks) {
        if (const auto* single = dynamic_cast<const YBlockSingle*>(block)) {
            if (single->health > 0.0f && Hard(single->type)) ++hard;
        } else if (const auto* set = dynamic_cast<const YBlockSet*>(block)) {
            for (const YBlockItem* item : set->items)
                if (item->health > 0.0f && Hard(item->type)) ++hard;
        }
    }
    return hard;
}

} // namespace

const char* PlayResultName(YPlayResult result) {
    switch (result) {
        case YPlayResult::LevelComplete: return "level complete";
        case YPlayResult::GameOver: return "game over";
        case YPlayResult::LevelRefused: return "level refused";
        default: return "running";
    }
}

YPlayScript MakeSeededScript(uint32_t seed, int frameCount) {
    YPlayScript script;
    script.seed = seed;
    plat::CrtSrand(seed);
    int untilMove = 0;
    for (int i = 0; i < frameCount; ++i) {
        YPlayFrame f{NAN, false};
        if (--untilMove <= 0) {
            f.target = 2.0f * static_cast<float>(plat::CrtRand()) / 32767.0f - 1.0f;
            untilMove = 10 + plat::CrtRand() % 41;
        }
        f.click = plat::CrtRand() % 60 == 0;
        script.frames.push_back(f);
    }
    return script;
}

namespace {

// The frames of a script, in order; no input past its end.
class ScriptInput final : public YPlayInput {
public:
    explicit ScriptInput(const YPlayScript& script) : script_(script) {}
    YPlayFrame Frame(int frame, const YRacket&) override {
        if (frame < 0 || frame >= static_cast<int>(script_.frames.size())) return YPlayFrame{NAN, false};
        return script_.frames[static_cast<std::size_t>(frame)];
    }

private:
    const YPlayScript& script_;
};

} // namespace

YPlayOutcome RunHeadless(const std::string& levelPath, const YPlayScript& script, int frameCount) {
    ScriptInput input(script);
    return RunHeadless(levelPath, input, frameCount, script.seed, script.dt);
}

YPlayOutcome RunHeadless(const std::string& levelPath, YPlayInput& input, int frameCount, uint32_t seed, float dt) {
    YPlayOutcome out;
    plat::CrtSrand(seed);
    dRandSetSeed(seed);
    g_PhysicsWorld.ResetBallSpeed();
    if (!(dt > 0.0f)) dt = 0.02f;

    std::unique_ptr<YTable> ownTable;
    if (!g_Table) ownTable = std::make_unique<YTable>();
    YPlayEndListener listener;
    auto racket = std::make_unique<YRacket>(&listener);
    racket->Park();
    const int caughtBefore = BonusesCaught();
    if (!LoadLevel(levelPath)) {
        out.result = YPlayResult::LevelRefused;
    } else {
        racket->NewGame();
        int lastState = racket->state;
        for (int i = 0; i < frameCount; ++i) {
            const YPlayFrame f = input.Frame(i, *racket);
            if (!std::isnan(f.target)) racket->MoveTo(f.target);
            if (f.aim != 0.0f) racket->AdjustAimAngle(f.aim);
            if (f.click) racket->ReleaseTacked(true);
            YZDelete::TickAll(dt);
            g_PhysicsWorld.PhysicsStep(dt);
            BlockWorldUpdate(dt, true);
            racket->RacketUpdate(dt);
            out.frames = i + 1;
            const int left = static_cast<int>(g_BlockWorld.blocksLeft);
            if (i == 0) out.blocksAtStart = left;
            if (out.ninetyPercentFrame < 0 && left * 10 <= out.blocksAtStart) out.ninetyPercentFrame = out.frames;
            if (racket->state == RACKET_BALL_LOST && lastState != RACKET_BALL_LOST) ++out.ballsLost;
            lastState = racket->state;
            if (listener.gameOver) {
                out.result = YPlayResult::GameOver;
                break;
            }
            if (listener.levelComplete) {
                out.result = YPlayResult::LevelComplete;
                out.endedByNext = left > 0;
                break;
            }
        }
        // Blocks broken at the end are deleted (and scored) a moment later: let that happen.
        for (int i = 0; i < 50 && !YZDelete::Pending().empty(); ++i) {
            YZDelete::TickAll(dt);
            g_PhysicsWorld.PhysicsStep(dt);
            BlockWorldUpdate(dt, false);
        }
    }
    out.score = racket->score;
    out.lives = racket->lives;
    out.blocksLeft = static_cast<int>(g_BlockWorld.blocksLeft);
    out.hardLeft = HardBlocksLeft();
    out.bonusesCaught = BonusesCaught() - caughtBefore;
    out.hash = StateHash(*racket, out.frames);

    DeleteAllBlocks();
    for (int i = 0; i < 4 && !YZDelete::Pending().empty(); ++i) YZDelete::TickAll(1.0f);
    racket.reset();
    ownTable.reset();
    return out;
}
