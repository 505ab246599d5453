#pragma once
// The level pictures made for real: levels loaded into the game world and drawn from the still
// view into the renderer's capture target, saved as BMP files and loaded as textures.
#include <string>

#include "shell/level_thumbnails.h"

class YSceneCamera;

class GameThumbnailHost final : public ThumbnailHost {
public:
    // `camera` places the still view; `aspect` is the window's, used unchanged for the shots.
    GameThumbnailHost(YSceneCamera& camera, float aspect);

    bool FileExists(const std::string& path) override;
    bool MakeFolder(const std::string& path) override;
    bool BeginCapture(int width, int height) override;
    bool LoadLevel(const std::string& path) override;
    void RenderStillView() override;
    bool SaveCapture(const std::string& path) override;
    void EndCapture() override;
    void RestoreDefaults() override;

private:
    YSceneCamera& camera_;
    float aspect_;
};
