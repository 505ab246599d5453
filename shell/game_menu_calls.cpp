// The menus' operations as the state machine, the input handlers and the menu pages reach them:
// the level picker, the score pages, the bonus records, the display's sizes, textures, volumes
// and the window's re-creation.
#include <algorithm>

#include "core/init.h"
#include "render/framework_start.h"
#include "render/texture.h"
#include "render/video_mode.h"
#include "shell/bonus_records.h"
#include "shell/game_framework.h"
#include "sound/sound_device.h"

void GameFramework::EnterLevelChoice() { menus_.levelChoice.EnterLevelChoice(); }
void GameFramework::CheckScore(bool afterGame) { menus_.scoresPage.CheckScore(afterGame); }
void GameFramework::SelectLevel(int index) { menus_.levelChoice.SelectLevel(index); }
void GameFramework::StartSelectedLevel() { menus_.levelChoice.StartSelectedLevel(); }
void GameFramework::ClickLevelThumbnail() { menus_.levelChoice.ClickLevelThumbnail(); }

YTexture* GameFramework::GetTexture(const std::string& path) { return ::GetTexture(path.c_str()); }

void GameFramework::ReleaseTexture(const std::string& path) { delete FindTexture(path); }

int GameFramework::BonusRecordCount() { return GameBonusRecordCount(); }
BonusInfoRecord GameFramework::BonusRecord(int index) { return GameBonusRecord(index); }

std::vector<YVideoMode> GameFramework::DisplaySizes() {
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

void GameFramework::RecreateWindow() {
    ApplyVideoMode(*this, GetInit().videoMode);
    DestroyFrameWindow();
    CreateMainWindow();
}

void GameFramework::SetMusicVolume(float volume) { ::SetMusicVolume(volume); }
void GameFramework::SetSoundVolume(float volume) { ::SetSoundVolume(volume); }
