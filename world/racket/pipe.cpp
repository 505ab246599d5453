#include "world/racket/pipe.h"

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/mesh/mesh.h"
#include "render/scene/particles.h"
#include "render/shader.h"

namespace {

constexpr float PUFFS_PER_SECOND = 3.0f;

float Centred() { return static_cast<float>(plat::CrtRand()) / 32767.0f - 0.5f; }

YMeshInstanceBase* PipeInstance() {
    static YMeshInstanceBase* instance = new YMeshInstanceBase(GetMesh("mesh\\pipe.mes"), 0.02f);
    return instance;
}

} // namespace

YPipe::YPipe() : YMeshInstanceRef(2, PipeInstance()) {
    static YShader* shader = FindShader("pipe");
    shaders = {shader};
    kind = TACKED_PIPE;
    boneIndex = 3;
}

void YPipe::Update(float dt) {
    static YShader* smokeShader = FindShader("pipe_smoke");
    static const float start[4] = {0.5f, 0.5f, 0.5f, 0.75f};
    static const float end[4] = {0.5f, 0.5f, 0.5f, 0.0f};
    smoke += dt;
    const int n = static_cast<int>(smoke * PUFFS_PER_SECOND);
    if (n < 1) return;
    smoke -= static_cast<float>(n) / PUFFS_PER_SECOND;
    const YVector from = Position();
    for (int i = 0; i < n; ++i) {
        YVector r;
        do {
            r = YVector(Centred(), Centred(), Centred());
        } while (std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z) <= 0.000001f);
        const YVector v(0.05f * r.x, 0.05f * r.y, 0.05f * r.z + 0.5f);
        g_ParticleSystem.Emit(3.0f, 0.01f, 0.5f, &from, &v, -1.0f, nullptr, smokeShader, start, end);
    }
}

void YPipe::SetMatrix(const YMatrix* m) { SetTransform(m->m); }

YMatrix* YPipe::GetMatrix(YMatrix* out) {
    *out = world;
    return out;
}
