#include "render/render_hooks.h"

#include "core/frame_hooks.h"
#include "core/init.h"
#include "render/render.h"
#include "render/render_d3d.h"
#include "render/render_resource.h"
#include "render/scene/splash_show.h"
#include "render/video_mode.h"

void InstallRenderHooks() {
    YFrameHooks& h = FrameHooks();
    h.rendererExists = [] { return g_Render != nullptr; };
    h.resolveMode = [](const std::string& modeText, int& width, int& height, int& depth, int& refresh) {
        const YVideoMode mode = YVideoMode::FromString(g_VideoModes.Normalize(modeText.c_str()).c_str());
        width = static_cast<int>(mode.width);
        height = static_cast<int>(mode.height);
        depth = static_cast<int>(mode.depth);
        refresh = static_cast<int>(mode.refresh);
    };
    h.createDevice = [](void* window, bool fullScreen, int width, int height, int depth, int refresh) {
        if (!g_Render) return;
        YVideoMode wanted;
        wanted.width = width > 0 ? static_cast<uint32_t>(width) : 0;
        wanted.height = height > 0 ? static_cast<uint32_t>(height) : 0;
        wanted.depth = depth > 0 ? static_cast<uint32_t>(depth) : 0;
        wanted.refresh = refresh > 0 ? static_cast<uint32_t>(refresh) : 0;
        g_Render->CreateDevice(window, fullScreen, g_VideoModes.FindBest(&wanted));
    };
    h.releaseDevice = [] {
        if (g_Render) g_Render->ReleaseDevice();
    };
    h.resetDevice = [] {
        if (g_Render) g_Render->ResetDevice();
    };
    h.beginFrame = [](bool clear) {
        if (g_Render) g_Render->BeginFrame(clear);
    };
    h.endFrame = [] {
        if (g_Render) g_Render->EndFrame();
    };
    h.restoreResources = [] {
        RestoreRenderResources(RESOURCE_ALL);
        return true;
    };
    h.releaseResources = [] { ReleaseRenderResources(RESOURCE_ALL); };

    InitHooks().normalizeVideoMode = [](const std::string& modeText) {
        return g_VideoModes.Normalize(modeText.c_str());
    };
    InstallSplashShowHook();
}

void CreateRenderer() {
    new Render_D3D(); // becomes g_Render
    std::vector<YVideoMode> modes;
    g_VideoModes.Assign(*g_Render->GetVideoModes(&modes));
}

void DestroyRenderer() { delete g_Render; }
