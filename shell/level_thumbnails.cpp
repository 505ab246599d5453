#include "shell/level_thumbnails.h"

#include <algorithm>

#include "core/init.h"
#include "core/log.h"
#include "shell/level_choice.h"

void BuildLevelThumbnails(ThumbnailHost& host, Init& config, const std::vector<std::string>& levelNames) {
    // Levels are loaded under the rules of the second game mode until the player chooses one.
    int modes = static_cast<int>(config.gameModes.size());
    if (modes < 2) LogPrintf(g_Log, "Only %d game modes defined; level pictures use the first", modes);
    config.currentGameMode = std::min(1, std::max(0, modes - 1));

    bool captureReady = false;
    for (const std::string& name : levelNames) {
        std::string thumb = LevelThumbnailPath(name);
        if (!host.FileExists(thumb)) {
            if (!captureReady) {
                if (!host.MakeFolder(LEVEL_THUMB_FOLDER)) {
                    LogPrintf(g_Log, "Folder %s cannot be made; level pictures are not saved", LEVEL_THUMB_FOLDER);
                }
                if (!host.BeginCapture(LEVEL_THUMB_SIZE, LEVEL_THUMB_SIZE)) {
                    LogPrintf(g_Log, "No capture target for level pictures");
                    return;
                }
                captureReady = true;
            }
            // A level that does not load gets no picture; the next start tries again.
            if (host.LoadLevel("levels\\" + name)) {
                host.RenderStillView();
                if (!host.SaveCapture(thumb)) LogPrintf(g_Log, "Level picture %s could not be saved", thumb.c_str());
            } else {
                LogPrintf(g_Log, "Level %s could not be loaded for its picture", name.c_str());
            }
        }
    }
    if (captureReady) {
        host.EndCapture();
        host.RestoreDefaults();
    }
}
