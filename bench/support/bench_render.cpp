#include "support/bench_render.h"

#include <vector>

#include "core/log.h"
#include "platform/gpu/device.h"
#include "platform/gpu/null/null_device.h"
#include "platform/gpu/pixel_format.h"
#include "render/video_mode.h"

namespace benchrender {

std::unique_ptr<Render_D3D> MakeNullRenderer() {
    LogReopen("");
    gpu::NullAdapterScript script;
    script.modes = {{800, 600, 60, gpu::D3DFMT_X8R8G8B8}};
    auto d3d = std::make_shared<gpu::NullDirect3D>(script);
    auto render = std::make_unique<Render_D3D>([d3d](uint32_t) -> gpu::Direct3DPtr { return d3d; });
    std::vector<YVideoMode> modes;
    render->GetVideoModes(&modes);
    render->CreateDevice(nullptr, false, 0);
    if (d3d->LastDevice()) d3d->LastDevice()->SetRecording(false);
    return render;
}

bool DisplayHasUsableMode() {
    gpu::Direct3DPtr d3d = gpu::Direct3DCreate(gpu::D3D_SDK_VERSION);
    if (!d3d) return false;
    for (uint32_t i = 0; i < d3d->GetAdapterModeCount(gpu::D3DADAPTER_DEFAULT); ++i) {
        gpu::DisplayMode m;
        if (gpu::Failed(d3d->EnumAdapterModes(gpu::D3DADAPTER_DEFAULT, i, &m))) continue;
        const uint32_t bytes = gpu::BytesPerPixel(m.Format);
        if (m.Width >= 640 && m.Height >= 480 && (bytes == 2 || bytes == 4)) return true;
    }
    return false;
}

} // namespace benchrender
