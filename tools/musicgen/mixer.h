#pragma once
// Renders a song to a finished stereo loop: every part played by its instrument, levelled,
// panned and sent to echo and reverb, then the master cleaned of rumble, gently limited and
// scaled to its peak level.
#include <string>
#include <vector>

#include "tools/musicgen/song.h"

namespace music {

struct Rendered {
    std::vector<float> interleaved; // L R L R ..., one loop
    std::size_t frames = 0;
};

Rendered RenderSong(const Song& song);

} // namespace music
