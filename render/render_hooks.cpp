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
    h.createDevice = [](void* window, bool fullScreen, const YVideoMode& mode) {
        if (g_Render) g_Render->CreateDevice(window, fullScreen, mode.index);
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

    InstallSplashShowHook();
}

void CreateRenderer() {
    new Render_D3D(); // becomes g_Render
    std::vector<YVideoMode> modes;
    g_VideoModes.Assign(*g_Render->GetVideoModes(&modes));
}

void DestroyRenderer() { delete g_Render; }
