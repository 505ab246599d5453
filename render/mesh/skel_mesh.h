#pragma once
// Skinned meshes: a mesh with a skeleton (bones, key poses, pose lists, channel set-ups and
// attachment points). The text file ends in "ams" and starts with the text mesh block; its cache
// is the same name ending in "mab". Like the plain mesh it is loaded once per name and shared.
#include <cstdint>
#include <string>
#include <vector>

#include "render/mesh/mesh.h"
#include "render/mesh/skel_data.h"

class YSkelMesh : public YMesh, public YSkelData {
public:
    // Also enters the skinned-mesh cache (and, as a mesh, the mesh cache).
    YSkelMesh();
    ~YSkelMesh() override;

    // Loads `fileName`: the cache file (the name's last three characters replaced by "mab") when
    // there is a usable one, else the text file, whose import is then cached (and not read back).
    // The bind pose is built either way. Whatever fails is logged and leaves the mesh empty.
    void Load(const std::string& fileName);

    // Unlike the plain mesh's, this scale changes the stored model and so accumulates: position
    // groups and their vertices, bone offsets, attachment translations and pose root offsets are
    // multiplied by s, then the bind pose is built again.
    void Scale(float s) override;

    // The cache file's fields under this mesh's name.
    void WriteBinary(OutStream& out) const;
    // Reads the cache file; false (logged, mesh left empty) when it is damaged. The mesh keeps the
    // name it was asked for by.
    bool ReadBinary(InStream& in, const char* fileName);

    // Animation set-up, after the owner has appended its pose lists and before any instance is
    // built (render/mesh/skel_channels.cpp). SetChannel grows the channel list to channel + 1;
    // a sync channel not below `channel` and a pose list that is missing, empty, names a missing
    // pose or has a step of no frames are logged and leave that field as it was; the weight,
    // fades, loop and rewind are stored in any case. A negative channel is logged and ignored.
    void SetChannel(int32_t channel, int32_t syncChannel, int32_t poseList, float weight, float fadeIn, float fadeOut,
                    uint8_t loop, uint8_t rewind);
    // The channel's bone weights := the first bone-count values of `weights`. A channel not set
    // up yet, or no weights, is logged and ignored.
    void SetChannelBoneWeights(int32_t channel, const float* weights);
};

// The skinned mesh of that file name: found in the skinned-mesh cache (exact, case-sensitive) or
// made and loaded. Never null; it lives until the process ends. GetMesh with the same name finds
// it too.
YSkelMesh* GetSkelMesh(const std::string& name);

const std::vector<YSkelMesh*>& SkelMeshCache();
