#include "render/mesh/skel_data.h"

YMatrix QuatToMatrix(const YQuat& q, const YVector& t) {
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    return YMatrix{{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w), 0, 2 * (x * y + z * w),
                    1 - 2 * (x * x + z * z), 2 * (y * z - x * w), 0, 2 * (x * z - y * w), 2 * (y * z + x * w),
                    1 - 2 * (x * x + y * y), 0, t.x, t.y, t.z, 1}};
}

void YSkelData::ClearSkeleton() {
    bones.clear();
    poses.clear();
    poseLists.clear();
    channelConfigs.clear();
    attachments.clear();
}

void YSkelData::BuildBindPose() {
    for (std::size_t i = 0; i < bones.size(); ++i) {
        YBone& bone = bones[i];
        YMatrix m = QuatToMatrix(bone.rotation, bone.offset);
        // The bone's own transform first, then its parent's (already final: parents come first).
        if (bone.parent >= 0 && static_cast<std::size_t>(bone.parent) < i) m = bones[bone.parent].inverseBind * m;
        bone.inverseBind = m;
    }
    for (YBone& bone : bones) bone.inverseBind = bone.inverseBind.InverseAffine();
}
