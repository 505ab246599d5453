#include "shell/game_menu_link.h"

// Before the system headers: the score table names a member as POSIX names a limit.
#include "shell/score_table.h"

#include <algorithm>

#include "core/init.h"
#include "render/framework_start.h"
#include "render/video_mode.h"
#include "shell/game_framework.h"
#include "shell/ui/ui_layout.h"
#include "sound/sound_device.h"
#include "world/bonus/bonus_config.h"

void GameMenuLink::ShowPage(UILayout* page) { game_.Screen().page = page; }
void GameMenuLink::RequestState(int state) { game_.RequestState(state); }
int GameMenuLink::GameState() const { return game_.GetState(); }
void GameMenuLink::Resume() { game_.Resume(); }
void GameMenuLink::LoadPages() { game_.LoadPages(); }

void GameMenuLink::RecreateWindow() {
    ApplyVideoMode(game_, GetInit().videoMode);
    game_.DestroyFrameWindow();
    game_.CreateMainWindow();
}

void GameMenuLink::SetMusicVolume(float volume) { ::SetMusicVolume(volume); }
void GameMenuLink::SetSoundVolume(float volume) { ::SetSoundVolume(volume); }
uint32_t GameMenuLink::RacketScore() const { return static_cast<uint32_t>(std::max(game_.Score(), 0)); }
int GameMenuLink::RacketLevelIndex() const { return game_.LevelIndex(); }
void GameMenuLink::SetRacketLevelIndex(int index) { game_.SetLevelIndex(index); }

std::vector<YVideoMode> GameMenuLink::DisplaySizes() const {
    std::vector<YVideoMode> sizes;
    for (const YVideoMode& m : g_VideoModes.Modes()) {
        const bool known = std::any_of(sizes.begin(), sizes.end(),
                                       [&](const YVideoMode& s) { return s.width == m.width && s.height == m.height; });
        if (!known) sizes.push_back(m);
    }
    std::sort(sizes.begin(), sizes.end(), [](const YVideoMode& a, const YVideoMode& b) {
        return a.width != b.width ? a.width < b.width : a.height < b.height;
    });
    return sizes;
}

int GameMenuLink::BonusRecordCount() const { return GameBonusRecordCount(); }
BonusInfoRecord GameMenuLink::BonusRecord(int index) const { return GameBonusRecord(index); }

int GameBonusRecordCount() { return static_cast<int>(BonusConfigs().size()); }

BonusInfoRecord GameBonusRecord(int index) {
    const YBonusConfig& config = BonusConfig(index);
    BonusInfoRecord record;
    record.name = config.name;
    record.text = config.text;
    record.score = config.score;
    return record;
}

YScoreTable& LoadGameScores() {
    YScoreTable& table = GetScoreTable();
    table.LoadScores("scores.dat");
    return table;
}
