#include "platform/gpu/device.h"
#include "platform/gpu/gl/gl_direct3d.h"

namespace gpu {

namespace {
Direct3DFactory& Factory() {
    static Direct3DFactory factory;
    return factory;
}
} // namespace

void SetDirect3DFactory(Direct3DFactory factory) { Factory() = std::move(factory); }

Direct3DPtr Direct3DCreate(uint32_t sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) return nullptr;
    if (Factory()) return Factory()(sdkVersion);
    return CreateGlDirect3D();
}

} // namespace gpu
