#pragma once
// SDL's video subsystem, taken and released in pairs. The window and the GPU layer's Direct3D
// object hold it while they exist; display and clipboard queries hold it for their call, which
// costs nothing while a window exists. Audio is never touched here.
namespace plat {

// Initialises SDL's video subsystem, or adds a reference when it already is. False on failure
// (SDL_GetError tells why). Sets the layer's SDL hints before the first initialisation.
bool AcquireVideo();
// Drops one reference taken by a successful AcquireVideo.
void ReleaseVideo();

// Holds the video subsystem for a scope.
class VideoScope {
public:
    VideoScope() : ok_(AcquireVideo()) {}
    ~VideoScope() {
        if (ok_) ReleaseVideo();
    }
    VideoScope(const VideoScope&) = delete;
    VideoScope& operator=(const VideoScope&) = delete;
    bool Ok() const { return ok_; }

private:
    bool ok_;
};

} // namespace plat
