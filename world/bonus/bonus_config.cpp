#include "world/bonus/bonus_config.h"

#include <string>

#include "core/init.h"
#include "core/locale.h"
#include "core/log.h"
#include "render/shader.h"
#include "sound/sound_fx.h"

std::vector<YBonusConfig>& BonusConfigs() {
    static std::vector<YBonusConfig> configs;
    return configs;
}

const YBonusConfig& BonusConfig(int kind) {
    static const YBonusConfig fallback;
    const std::vector<YBonusConfig>& configs = BonusConfigs();
    if (kind < 0 || static_cast<std::size_t>(kind) >= configs.size()) return fallback;
    return configs[static_cast<std::size_t>(kind)];
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
    configs_.push_back(std::move(config));
}

bool YBonusConfigLoader::OnError(const char* message) {
    LogPrintf(g_Log, "Bonus Config Loader error, %s, line: %d", message, GetLine());
    return true;
}

void LoadBonusConfigs(const char* file, int kinds) {
    std::vector<YBonusConfig>& configs = BonusConfigs();
    configs.clear();
    YBonusConfigLoader loader(configs);
    loader.Load(file);
    if (kinds > 0 && configs.size() < static_cast<std::size_t>(kinds)) {
        LogPrintf(g_Log, "Bonus Config Loader error, %d of %d bonus kinds configured, the rest take defaults, file: %s",
                  static_cast<int>(configs.size()), kinds, file);
        configs.resize(static_cast<std::size_t>(kinds));
    }
}

YShader* GetBonusShader(int kind) {
    const std::string& name = BonusConfig(kind).name;
    return name.empty() ? nullptr : FindShader(name);
}

YSoundFx* GetBonusSound(int kind) { return GetSoundFx(BonusConfig(kind).sound); }

float BonusBallModeDuration(int mode) {
    if (mode < 0 || mode >= 8 || !GetInit().CurrentGameMode().timerBall) return -1.0f;
    return BonusConfig(mode).timeout;
}

void LocalizeBonusConfig() {
    YLocale& locale = GetLocale();
    for (YBonusConfig& config : BonusConfigs()) config.text = locale.Str(config.name);
}
