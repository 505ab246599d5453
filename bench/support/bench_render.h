#pragma once
// Renderers the benchmarks draw with: a renderer over the recording-free null device (the
// renderer's own cost and the device's state keeping, no driver), and the question whether the
// real device layer lists a mode the renderer accepts (without one a window-backed benchmark
// skips instead of ending the process).
#include <memory>

#include "render/render_d3d.h"

namespace benchrender {

// An 800 x 600 X8R8G8B8 null adapter, the renderer's mode list read, a windowless device created
// and its call recording off. The log is closed first (benchmarks write no log.txt).
std::unique_ptr<Render_D3D> MakeNullRenderer();

// Whether the default adapter lists a mode of at least 640 x 480 with 2 or 4 bytes per pixel.
bool DisplayHasUsableMode();

} // namespace benchrender
