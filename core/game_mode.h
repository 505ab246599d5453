#pragma once
// Game modes: named rule sets read once from "data\modes.yml". Each mode says which bonus
// behaviour applies, which table features are on, how likely each bonus kind is, and which tip
// pages appear after how many racket hits. "config.yml" adds each mode's progress.
//
//   <game name="classic" bonusMode="0" lowBall="0" defaultProb="10">
//     <bonus name="ball_normal" prob="30"/>   the n-th bonus tag sets the n-th bonus kind
//     <tip filename="tip_move.yml" hits="1"/>
//   </game>
// A bonus tag's name only says which kind it is meant for: one that is not the name of the kind at
// its place, and a tag beyond the last kind, are logged.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/bonus_kind.h"
#include "core/xml_parser.h"

// One tip page of a mode: shown once the racket has been hit `hits` times; `armed` is 1 until the
// game shell has shown it.
struct YGameTip {
    std::string fileName;
    int hits = 1;
    uint8_t armed = 1;
};

struct YGameMode {
    // Every field at its default; one probability per bonus kind, each `defaultProb`.
    explicit YGameMode(float defaultProb = 10.0f);

    std::string name;
    int bonusMode = 2;
    bool lowBall = true;
    bool swellBonuses = true;
    bool wideRacket = true;
    bool perimeterBorder = true;
    bool teleports = false;
    bool popupScores = true;
    bool popupLosses = false;
    bool timerBall = true;
    float defaultProb = 10.0f;
    std::vector<YGameTip> tips;
    // One entry per bonus kind, in kind order; they sum to 1 once the mode is read
    // (or are all 0 when every kind has probability 0).
    std::vector<float> probabilities;

    // Progress, kept in "config.yml".
    int level = -1;
    int scores = 0;
    int lives = 0;
    int openLevels = 0;
    std::string player;
};

// What the modes need of the layers above the core; those layers install them at start.
struct YGameModeHooks {
    // The name the game world's kind table gives a kind, which a "bonus" tag at that place should
    // carry. Empty: the names are not checked.
    std::function<const char*(BonusKind kind)> bonusKindName;
    // Registers a tip page with the game shell's page registry, so that it is loaded with the
    // language's pages. Empty: nothing is registered.
    std::function<void(const std::string& pageFile)> registerTipPage;
};
YGameModeHooks& GameModeHooks();

// Scales the entries so that they sum to 1 (each entry times 1 / sum, in single precision). An
// entry that is negative or not a number counts as 0; when nothing is left to share, every entry
// becomes 0.
void NormalizeProbabilities(std::vector<float>& probabilities);

// Reads "data\modes.yml" and appends one mode per "game" tag to the list it was given.
class YGameModeLoader : public XMLParser {
public:
    explicit YGameModeLoader(std::vector<YGameMode>& modes);

    // Reads the file; a missing file appends nothing. Errors are logged and the parse goes on.
    void Load(const char* file);

protected:
    void OnTag(int id) override;
    void OnCloseTag(int id) override;
    bool OnError(const char* message) override;

private:
    // Finishes the mode being read: normalises its probabilities; no mode is current afterwards.
    void CloseCurrent();
    // Logs a "bonus" tag at `position` whose name is not the kind's there (an empty name is fine).
    void CheckBonusName(int position, const std::string& name);

    std::vector<YGameMode>& modes_;
    std::string fileName_; // the file being read, for messages
    int current_ = -1;     // index of the mode being read, -1 outside a "game"
    int bonusCounter_ = 0;
};
