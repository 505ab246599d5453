#include "render/mesh/skel_channels.h"

#include <algorithm>

#include "core/log.h"
#include "render/mesh/skel_mesh.h"

std::vector<int32_t> MakeIntList(const int32_t* values) {
    std::vector<int32_t> list;
    if (values)
        for (const int32_t* p = values; *p >= 0; ++p) list.push_back(*p);
    return list;
}

std::vector<int32_t> MakeIntRange(int32_t first, int32_t count) {
    std::vector<int32_t> list;
    if (count > 0) {
        list.reserve(static_cast<std::size_t>(count));
        for (int32_t i = 0; i < count; ++i) list.push_back(first + i);
    }
    return list;
}

bool IsPlayablePoseList(const YSkelData& skel, int32_t list) {
    if (list < 0 || static_cast<std::size_t>(list) >= skel.poseLists.size()) return false;
    const std::vector<int32_t>& poses = skel.poseLists[static_cast<std::size_t>(list)];
    if (poses.empty()) return false;
    return std::all_of(poses.begin(), poses.end(), [&skel](int32_t p) {
        if (p < 0 || static_cast<std::size_t>(p) >= skel.poses.size()) return false;
        const YSkelPose& pose = skel.poses[static_cast<std::size_t>(p)];
        return pose.frames >= 1 && pose.rotations.size() == skel.bones.size();
    });
}

void YSkelMesh::SetChannel(int32_t channel, int32_t syncChannel, int32_t poseList, float weight, float fadeIn,
                           float fadeOut, uint8_t loop, uint8_t rewind) {
    if (channel < 0) {
        LogPrintf(g_Log, "Mesh %s animation channel %d error: no such channel.", name.c_str(), channel);
        return;
    }
    if (channelConfigs.size() < static_cast<std::size_t>(channel) + 1)
        channelConfigs.resize(static_cast<std::size_t>(channel) + 1);
    YAnimChannelConfig& config = channelConfigs[static_cast<std::size_t>(channel)];

    if (syncChannel >= channel)
        LogPrintf(g_Log, "Mesh %s animation channel %d error syncChannel=%d >= curChannel.", name.c_str(), channel,
                  syncChannel);
    else
        config.syncChannel = syncChannel;

    if (poseList < 0 || static_cast<std::size_t>(poseList) >= poseLists.size())
        LogPrintf(g_Log, "Mesh %s animation channel %d error animation index %d.", name.c_str(), channel, poseList);
    else if (!IsPlayablePoseList(*this, poseList))
        LogPrintf(g_Log, "Mesh %s animation channel %d error animation %d is empty or has a step without frames.",
                  name.c_str(), channel, poseList);
    else
        config.poseList = poseList;

    config.weight = weight;
    config.fadeIn = fadeIn;
    config.fadeOut = fadeOut;
    config.loop = loop;
    config.rewind = rewind;
}

void YSkelMesh::SetChannelBoneWeights(int32_t channel, const float* weights) {
    if (channel < 0 || static_cast<std::size_t>(channel) >= channelConfigs.size()) {
        LogPrintf(g_Log, "Mesh %s animation channel %d error: bone weights for a channel not set up.", name.c_str(),
                  channel);
        return;
    }
    if (!weights) {
        LogPrintf(g_Log, "Mesh %s animation channel %d error: no bone weights.", name.c_str(), channel);
        return;
    }
    channelConfigs[static_cast<std::size_t>(channel)].boneWeights.assign(weights, weights + bones.size());
}
