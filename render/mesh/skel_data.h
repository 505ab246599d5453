#pragma once
// The skeleton of a skinned mesh: bones with their rest pose and the weights by which imported
// positions (position groups of the mesh) follow them, key poses, pose lists, channel set-ups and
// attachment points. Bones come parents first.
#include <cstdint>
#include <vector>

#include "math/matrix.h"
#include "math/vector.h"
#include "render/mesh/anim_channel_config.h"
#include "render/mesh/quat.h"

struct YBoneInfluence {
    int32_t group; // position group of the mesh
    float weight;
};

struct YBone {
    int32_t id = 0;             // kept, not used
    int32_t parent = -1;        // index of the parent bone (always lower); negative for a root
    YVector offset{0, 0, 0};    // rest translation relative to the parent
    YQuat rotation{0, 0, 0, 1}; // rest rotation
    YMatrix inverseBind{};      // computed by BuildBindPose, not stored in files
    std::vector<YBoneInfluence> influences;
    float weightSum = 0; // working value of the pose blending
};

struct YSkelPose {
    YVector rootOffset{0, 0, 0};  // translation of the root bones in this pose
    int32_t frames = 0;           // length of the step that ends in this pose, in frames of 1/50 s
    std::vector<YQuat> rotations; // one per bone
};

struct YSkelAttachment {
    int32_t id = 0; // kept, not used
    int32_t bone = 0;
    YMatrix local{}; // relative to the bone
};

struct YSkelData {
    std::vector<YBone> bones;
    std::vector<YSkelPose> poses;
    std::vector<std::vector<int32_t>> poseLists;
    std::vector<YAnimChannelConfig> channelConfigs;
    std::vector<YSkelAttachment> attachments;

    void ClearSkeleton();

    // Each bone's rest matrix (its rotation with its offset, then its parent's), replaced by its
    // inverse: the matrices that take the mesh into each bone's space.
    void BuildBindPose();
};
