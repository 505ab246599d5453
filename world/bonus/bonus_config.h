#pragma once
// The per-kind presentation and tuning of the bonuses, from "data\bonuses.yml":
//   <bonus name="bonus_ball_fire" timeout="20" color="ff6020" score="50" sound="bonus_ball"/>
// The n-th "bonus" tag configures kind n; the name is the overlay shader of the falling disk and
// the locale key of the display text, never a way to find a kind.
//
// Every lookup by kind goes through BonusConfig(kind), which always answers: the list holds at
// least one record per registry kind (a short or missing file is padded with default records) and
// a kind outside the list reads a default record.
#include <string>
#include <vector>

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

// The records in file order (padded to the registry's size once loaded).
std::vector<YBonusConfig>& BonusConfigs();
// Record `kind`, or a default record when kind is outside the list.
const YBonusConfig& BonusConfig(int kind);

// Reads one bonus file, appending one record per "bonus" tag.
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

// Empties BonusConfigs, reads `file` into it and pads it with default records up to `kinds`
// (logged when the file held fewer). Runs at start, after the log is open.
void LoadBonusConfigs(const char* file, int kinds);

// FindShader of record kind's name; null for an empty name.
YShader* GetBonusShader(int kind);
// GetSoundFx of record kind's sound.
YSoundFx* GetBonusSound(int kind);
// With the game mode's timerBall flag, the time-out of ball-mode record `mode` (0..7); otherwise,
// and for any other mode, -1 (no time limit).
float BonusBallModeDuration(int mode);
// Every record's text := the current locale's "str" text of its name.
void LocalizeBonusConfig();
