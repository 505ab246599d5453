// Feeds arbitrary bytes through the shader file reader (a renderer over a null Direct3D object, so
// stage textures are named but never loaded), then animates what it defined. Every stage must be
// one the shader owns, and a stage's identity flag must say whether it has modifiers. What an
// input made is deleted again, so inputs do not pile up.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <set>
#include <string_view>
#include <vector>

#include "core/log.h"
#include "platform/gpu/null/null_device.h"
#include "render/render_d3d.h"
#include "render/render_resource.h"
#include "render/shader.h"
#include "render/shader_loader.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static Render_D3D* render = [] {
        LogReopen(""); // every fault of every input would be a log line
        auto d3d = std::make_shared<gpu::NullDirect3D>();
        return new Render_D3D([d3d](uint32_t) -> gpu::Direct3DPtr { return d3d; });
    }();
    (void)render;

    const std::set<YShader*> shadersBefore(ShaderList().begin(), ShaderList().end());
    const std::set<YRenderResource*> resourcesBefore(RenderResources().begin(), RenderResources().end());

    {
        YShaderLoader loader;
        XMLParser& reader = loader;
        reader.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    }
    for (int i = 0; i < 3; ++i) AnimateShaders(0.02f);

    std::vector<YShader*> made;
    for (YShader* s : ShaderList()) {
        for (std::size_t k = 0; k < s->stages.size(); ++k) {
            const YShaderStage* stage = s->Stage(k);
            Check(stage != nullptr);
            Check(stage->identity == (stage->modifiers.empty() ? 1 : 0));
        }
        if (!shadersBefore.count(s)) made.push_back(s);
    }
    for (YShader* s : made) delete s;

    std::vector<YRenderResource*> loaded;
    for (YRenderResource* r : RenderResources())
        if (!resourcesBefore.count(r)) loaded.push_back(r);
    for (YRenderResource* r : loaded) delete r;
    return 0;
}
