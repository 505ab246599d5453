#include "world/bonus/bonus_config.h"

#include <string>

#include "core/init.h"
#include "core/locale.h"
#include "core/log.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "world/bonus/bonus_kinds.h"

std::vector<YBonusConfig>& BonusConfigs() {
    static std::vector<YBonusConfig> configs;
    return configs;
}

const YBonusConfig& BonusConfig(int index) {
    static const YBonusConfig fallback;
    const std::vector<YBonusConfig>& configs = BonusConfigs();
    if (index < 0 || static_cast<std::size_t>(index) >= configs.size()) return fallback;
    return configs[static_cast<std::size_t>(index)];
}

YBonusConfigLoader::YBonusConfigLoader(std::vector<YBonusConfig>& configs) : configs_(configs) {
    XMLTag tag;
    AddTag(
        MakeTag(tag, "bonus", "name", "", "timeout", "0", "color", "ffffff", "score", "0", "sound", "bonus", nullptr));
}

bool YBonusConfigLoader::Load(const char* file) { return XMLParser::Load(file); }

void YBonusConfigLoader::OnTag(int id) {
    if (id != 0) return;
    const XMLTag& tag = tags[0];
    YBonusConfig config;
    config.name = tag.attributes[0].value;
    config.timeout = tag.attributes[1].AsFloat();
    config.score = tag.attributes[3].AsInt();
    config.sound = tag.attributes[4].value;
    // A bad colour keeps the record (with white) so that the kinds after it stay where they are.
    try {
        config.colour.ParseColor(tag.attributes[2].value);
    } catch (const YColorFormatError& e) {
        OnError(e.what());
    }
    const int position = static_cast<int>(configs_.size());
    if (!IsBonusKind(position)) {
        OnError(
            ("record " + std::to_string(position) + " is beyond the last bonus kind and configures nothing").c_str());
    } else if (const char* icon = BonusKindInfo(BonusKindAt(position)).icon; config.name != icon) {
        OnError(("record " + std::to_string(position) + " is named \"" + config.name + "\" but configures kind " +
                 std::to_string(position) + " \"" + icon + "\"")
                    .c_str());
    }
    configs_.push_back(std::move(config));
}

bool YBonusConfigLoader::OnError(const char* message) {
    LogPrintf(g_Log, "Bonus Config Loader error, %s, line: %d", message, GetLine());
    return true;
}

void LoadBonusConfigs(const char* file) {
    std::vector<YBonusConfig>& configs = BonusConfigs();
    configs.clear();
    YBonusConfigLoader loader(configs);
    loader.Load(file);
    if (configs.size() < static_cast<std::size_t>(BONUS_KIND_COUNT)) {
        LogPrintf(g_Log, "Bonus Config Loader error, %d of %d bonus kinds configured, the rest take defaults, file: %s",
                  static_cast<int>(configs.size()), BONUS_KIND_COUNT, file);
        // The missing kinds keep their picture and display text.
        for (int k = static_cast<int>(configs.size()); k < BONUS_KIND_COUNT; ++k) {
            YBonusConfig config;
            config.name = BonusKindInfo(BonusKindAt(k)).icon;
            configs.push_back(std::move(config));
        }
    }
}

YShader* GetBonusShader(BonusKind kind) {
    const std::string& name = BonusConfig(kind).name;
    return name.empty() ? nullptr : FindShader(name);
}

YSoundFx* GetBonusSound(BonusKind kind) { return GetSoundFx(BonusConfig(kind).sound); }

float BonusBallModeDuration(int mode) {
    // Ball mode m is the mode the m-th ball-mode bonus gives; the small mode has no bonus of its own.
    const int index = BonusKindIndex(BonusKind::BallNormal) + mode;
    if (mode < 0 || !IsBonusKind(index) || !IsBallModeBonus(BonusKindAt(index))) return -1.0f;
    if (!GetInit().CurrentGameMode().timerBall) return -1.0f;
    return BonusConfig(BonusKindAt(index)).timeout;
}

void LocalizeBonusConfig() {
    YLocale& locale = GetLocale();
    for (YBonusConfig& config : BonusConfigs()) config.text = locale.Str(config.name);
}
