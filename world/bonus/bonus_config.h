#pragma once
// The per-kind presentation and tuning of the bonuses, from "data\bonuses.yml":
//   <bonus name="bonus_ball_fire" timeout="20" color="ff6020" score="50" sound="bonus_ball"/>
// The n-th "bonus" tag configures kind n; the name is the overlay shader of the falling disk and
// the locale key of the display text, never a way to find a kind. Each record is checked against
// the kind table as it is read: a record whose name is not the icon of the kind at its place, and
// a record beyond the last kind, are logged with their line (and stay where they are).
//
// Every lookup by kind goes through BonusConfig(kind), which always answers: the list holds at
// least one record per kind (a short or missing file is padded with default records named after
// the kinds' icons) and a number outside the list reads a default record.
#include <string>
#include <vector>

#include "core/bonus_kind.h"
#include "core/color.h"
#include "core/xml_parser.h"

class YShader;
class YSoundFx;

struct YBonusConfig {
    std::string name;
    std::string text; // the display text in the current language (LocalizeBonusConfig)
    std::string sound = "bonus";
    YColor colour{1.0f, 1.0f, 1.0f, 1.0f};
    int score = 0;
    float timeout = 0.0f; // seconds of the timed effects
};

// The records in file order (padded to the number of kinds once loaded).
std::vector<YBonusConfig>& BonusConfigs();
// The record at position `index`, or a default record when index is outside the list.
const YBonusConfig& BonusConfig(int index);
// The record of `kind`.
inline const YBonusConfig& BonusConfig(BonusKind kind) { return BonusConfig(BonusKindIndex(kind)); }

// Reads one bonus file, appending one record per "bonus" tag and checking it against the kind at
// its place.
class YBonusConfigLoader : public XMLParser {
public:
    explicit YBonusConfigLoader(std::vector<YBonusConfig>& configs);
    // False when the file could not be read (missing: no message, as every data file).
    bool Load(const char* file);

protected:
    void OnTag(int id) override;
    bool OnError(const char* message) override;

private:
    std::vector<YBonusConfig>& configs_;
};

// Empties BonusConfigs, reads `file` into it and pads it with default records up to one per kind
// (logged when the file held fewer). Runs at start, after the log is open.
void LoadBonusConfigs(const char* file);

// FindShader of record kind's name; null for an empty name.
YShader* GetBonusShader(BonusKind kind);
// GetSoundFx of record kind's sound.
YSoundFx* GetBonusSound(BonusKind kind);
// With the game mode's timerBall flag, the time-out of ball-mode record `mode` (0..7); otherwise,
// and for any other mode, -1 (no time limit).
float BonusBallModeDuration(int mode);
// Every record's text := the current locale's "str" text of its name.
void LocalizeBonusConfig();
