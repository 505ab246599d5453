#pragma once
// A game world for the bonus tests: the world fixture's physics, racket (in
// play, at (0, -9)) and ear on sounds, plus 34 bonus records with known values,
// the bonus hooks, a recorded HUD caption list and a game mode that the test
// may change (restored afterwards).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/init.h"
#include "world/bonus/bonus.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_effects.h"
#include "world/bonus/bonus_registry.h"
#include "world/bonus/bonus_type.h"
#include "world/world_fixture.h"

namespace bonustest {

struct Caption {
    std::string text;
    YColor colour;
};

inline std::vector<Caption>& Captions() {
    static std::vector<Caption> captions;
    return captions;
}

inline void RecordCaption(const std::string& text, const YColor& colour) { Captions().push_back({text, colour}); }

class BonusTest : public worldtest::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        savedMode_ = GetInit().CurrentGameMode();
        YGameMode& mode = GetInit().CurrentGameMode();
        mode.bonusMode = 0;
        mode.swellBonuses = false;
        mode.timerBall = true;
        mode.lowBall = false;
        mode.probabilities.assign(BONUS_KINDS, 1.0f / BONUS_KINDS);
        // Record k: timeout 10 + k, score 100 + k, text "kind k", a colour of its
        // own.
        std::vector<YBonusConfig>& configs = BonusConfigs();
        configs.assign(BONUS_KINDS, YBonusConfig());
        for (int k = 0; k < BONUS_KINDS; ++k) {
            configs[k].timeout = 10.0f + k;
            configs[k].score = 100 + k;
            configs[k].text = "kind " + std::to_string(k);
            configs[k].sound = "sound_" + std::to_string(k);
            configs[k].colour = YColor{k / 40.0f, 0.5f, 1.0f - k / 40.0f, 1.0f};
        }
        Captions().clear();
        YWorldOutside outside = HeadlessWorldOutside();
        outside.soundObserver = worldtest::Hear;
        outside.showCaption = RecordCaption;
        ASSERT_TRUE(SetUpWorld(outside));
        racket->state = 0;
        racket->posX = 0.0f;
        racket->posY = -9.0f;
    }
    void TearDown() override {
        DeleteAllBonuses();
        GetInit().CurrentGameMode() = savedMode_;
        BonusConfigs().clear();
        WorldTest::TearDown();
    }

    // A falling bonus of `kind` at (x, y, z), still.
    static YBonus* Drop(int kind, float x, float y, float z) {
        const YVector still(0.0f, 0.0f, 0.0f);
        return new YBonus(CreateBonusType(kind), worldtest::At(x, y, z), still);
    }
    // A bonus of `kind` right on the racket, updated once (caught), then the
    // deletion tick.
    void Catch(int kind) {
        Drop(kind, racket->posX, racket->posY, 0.6f);
        UpdateBonuses(0.01f);
        YZDelete::TickAll(0.01f);
    }

    YGameMode savedMode_;
};

} // namespace bonustest
