#pragma once
// Level thumbnails: a 128 x 128 picture of every level, "levels\thumb\" + file name + ".bmp",
// rendered at start for each level that has none. The level choice loads them as textures when
// it shows them (see level_choice.h), so a long level list costs no memory at start.
#include <string>
#include <vector>

class Init;

// What making the pictures needs of the renderer and the world.
class ThumbnailHost {
public:
    virtual ~ThumbnailHost() = default;
    virtual bool FileExists(const std::string& path) = 0;
    // Creates the folder (and its parents) when missing; false when it cannot.
    virtual bool MakeFolder(const std::string& path) = 0;
    virtual bool BeginCapture(int width, int height) = 0;
    // False when the level could not be loaded.
    virtual bool LoadLevel(const std::string& path) = 0;
    // Draws the loaded level's still view (hero hidden) into the capture.
    virtual void RenderStillView() = 0;
    virtual bool SaveCapture(const std::string& path) = 0;
    virtual void EndCapture() = 0;
    // The default table and the first environment again, after levels were loaded.
    virtual void RestoreDefaults() = 0;
};

constexpr int LEVEL_THUMB_SIZE = 128;
// The folder of the pictures.
inline constexpr char LEVEL_THUMB_FOLDER[] = "levels\\thumb";

// Makes the missing pictures. The current game mode becomes the second one (the first when there
// is only one).
void BuildLevelThumbnails(ThumbnailHost& host, Init& config, const std::vector<std::string>& levelNames);
