#include "core/game_mode.h"

#include <cmath>
#include <string>

#include "core/log.h"

namespace {

enum ModeTag { TAG_GAME = 0, TAG_BONUS = 1, TAG_TIP = 2 };

// Attributes of "game", in registration order.
enum GameAttr {
    GAME_NAME,
    GAME_LOW_BALL,
    GAME_BONUS_MODE,
    GAME_SWELL_BONUSES,
    GAME_WIDE_RACKET,
    GAME_PERIMETER_BORDER,
    GAME_TELEPORTS,
    GAME_DEFAULT_PROB,
    GAME_POPUP_LOSSES,
    GAME_POPUP_SCORES,
    GAME_TIMER_BALL,
};
enum BonusAttr { BONUS_NAME, BONUS_PROB };
enum TipAttr { TIP_FILENAME, TIP_HITS };

bool IsUsableProbability(float p) { return std::isfinite(p) && p >= 0.0f; }

} // namespace

YGameModeHooks& GameModeHooks() {
    static YGameModeHooks hooks;
    return hooks;
}

YGameMode::YGameMode(float prob) : defaultProb(prob), probabilities(static_cast<std::size_t>(BONUS_KIND_COUNT), prob) {}

void NormalizeProbabilities(std::vector<float>& probabilities) {
    float sum = 0.0f;
    for (float& p : probabilities) {
        if (!IsUsableProbability(p)) p = 0.0f;
        sum += p;
    }
    if (!(sum > 0.0f) || !std::isfinite(sum)) {
        // Nothing to share out (every kind at 0, or a sum beyond the float range).
        for (float& p : probabilities) p = 0.0f;
        return;
    }
    const float scale = 1.0f / sum;
    for (float& p : probabilities) p *= scale;
}

YGameModeLoader::YGameModeLoader(std::vector<YGameMode>& modes) : modes_(modes) {
    XMLTag tag;
    AddTag(MakeTag(tag, "game", "name", "", "lowBall", "1", "bonusMode", "2", "swellBonuses", "1", "wideRacket", "1",
                   "perimeterBorder", "1", "teleports", "0", "defaultProb", "10", "popupLosses", "0", "popupScores",
                   "1", "timerBall", "1", nullptr));
    AddTag(MakeTag(tag, "bonus", "name", "", "prob", "10", nullptr));
    AddTag(MakeTag(tag, "tip", "filename", "", "hits", "1", nullptr));
}

void YGameModeLoader::Load(const char* file) {
    current_ = -1;
    bonusCounter_ = 0;
    fileName_ = file ? file : "";
    const std::size_t before = modes_.size();
    const bool read = XMLParser::Load(file);
    if (current_ >= 0) {
        // A file cut off inside a game: finish that mode as its closing tag would have.
        OnError("Tag <game> not closed.");
        CloseCurrent();
    }
    if (read && modes_.size() == before) OnError("No <game> in the file.");
}

void YGameModeLoader::CloseCurrent() {
    if (current_ >= 0 && static_cast<std::size_t>(current_) < modes_.size())
        NormalizeProbabilities(modes_[static_cast<std::size_t>(current_)].probabilities);
    current_ = -1;
}

void YGameModeLoader::OnTag(int id) {
    const std::vector<XMLAttribute>& a = tags[static_cast<std::size_t>(id)].attributes;
    switch (id) {
        case TAG_GAME: {
            if (current_ >= 0) {
                OnError("Tag <game> not closed.");
                CloseCurrent();
            }
            float prob = a[GAME_DEFAULT_PROB].AsFloat();
            if (!IsUsableProbability(prob)) {
                OnError(("Bad defaultProb: " + a[GAME_DEFAULT_PROB].value + ".").c_str());
                prob = 0.0f;
            }
            YGameMode mode(prob);
            mode.name = a[GAME_NAME].value;
            mode.lowBall = a[GAME_LOW_BALL].AsBool();
            mode.bonusMode = a[GAME_BONUS_MODE].AsInt();
            mode.swellBonuses = a[GAME_SWELL_BONUSES].AsBool();
            mode.wideRacket = a[GAME_WIDE_RACKET].AsBool();
            mode.perimeterBorder = a[GAME_PERIMETER_BORDER].AsBool();
            mode.teleports = a[GAME_TELEPORTS].AsBool();
            mode.popupLosses = a[GAME_POPUP_LOSSES].AsBool();
            mode.popupScores = a[GAME_POPUP_SCORES].AsBool();
            mode.timerBall = a[GAME_TIMER_BALL].AsBool();
            modes_.push_back(std::move(mode));
            current_ = static_cast<int>(modes_.size()) - 1;
            bonusCounter_ = 0;
            break;
        }
        case TAG_BONUS: {
            if (current_ < 0) break;
            std::vector<float>& probabilities = modes_[static_cast<std::size_t>(current_)].probabilities;
            if (static_cast<std::size_t>(bonusCounter_) >= probabilities.size()) {
                // Said once per game: every further tag is beyond the kinds too.
                if (static_cast<std::size_t>(bonusCounter_++) == probabilities.size())
                    OnError(("More <bonus> tags than the " + std::to_string(probabilities.size()) +
                             " bonus kinds, the extra ones are ignored.")
                                .c_str());
                break;
            }
            CheckBonusName(bonusCounter_, a[BONUS_NAME].value);
            float prob = a[BONUS_PROB].AsFloat();
            if (!IsUsableProbability(prob)) {
                OnError(("Bad prob: " + a[BONUS_PROB].value + ".").c_str());
                prob = 0.0f;
            }
            probabilities[static_cast<std::size_t>(bonusCounter_++)] = prob;
            break;
        }
        case TAG_TIP: {
            if (current_ < 0) {
                OnError("Tag <tip> outside <game>.");
                break;
            }
            YGameTip tip;
            tip.fileName = a[TIP_FILENAME].value;
            tip.hits = a[TIP_HITS].AsInt();
            tip.armed = 1;
            modes_[static_cast<std::size_t>(current_)].tips.push_back(tip);
            const YGameModeHooks& hooks = GameModeHooks();
            if (hooks.registerTipPage) hooks.registerTipPage(tip.fileName);
            break;
        }
        default: break;
    }
}

void YGameModeLoader::CheckBonusName(int position, const std::string& name) {
    const YGameModeHooks& hooks = GameModeHooks();
    if (name.empty() || !hooks.bonusKindName || !IsBonusKind(position)) return;
    const char* expected = hooks.bonusKindName(BonusKindAt(position));
    if (expected && name != expected)
        OnError(("Bonus " + std::to_string(position) + " is named \"" + name + "\" but sets kind " +
                 std::to_string(position) + " \"" + expected + "\".")
                    .c_str());
}

void YGameModeLoader::OnCloseTag(int id) {
    if (id == TAG_GAME) CloseCurrent();
}

bool YGameModeLoader::OnError(const char* message) {
    LogPrintf(g_Log, "Game mode config loader error, %s, file: %s, line: %d", message, fileName_.c_str(), line);
    return true;
}
