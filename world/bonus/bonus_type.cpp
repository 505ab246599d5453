#include "world/bonus/bonus_type.h"

#include "render/camera.h"
#include "render/mesh/mesh.h"
#include "render/render.h"
#include "render/shader.h"
#include "world/bonus/bonus_config.h"

YMeshInstanceBase* BonusDiskInstance(float radius) {
    static YMeshInstanceBase* instance = new YMeshInstanceBase(GetMesh("mesh\\disk.mes"), 2.0f * radius);
    return instance;
}

YBonusType::YBonusType(BonusKind kind_, float radius_)
    : YMeshInstanceRef(1, BonusDiskInstance(radius_)),
      kind(kind_),
      radius(radius_),
      ownShader(GetBonusShader(kind_)),
      sound(GetBonusSound(kind_)) {
    static YShader* disk = FindShader("bonus2");
    shaders.push_back(disk);
}

void YBonusType::Draw() {
    YMeshInstanceRef::Draw();
    if (!ownShader || !instance || !visible || !g_Render) return;
    g_Render->SetShader(ownShader, true);
    g_Render->DrawMesh(instance);
}
