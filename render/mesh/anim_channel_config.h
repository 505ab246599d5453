#pragma once
// The set-up of one animation channel of a skinned mesh, shared by the mesh's instances.
#include <cstdint>
#include <vector>

struct YAnimChannelConfig {
    int32_t poseList = -1;          // index into the mesh's pose lists
    float weight = 0;               // default channel weight
    int32_t syncChannel = -1;       // negative: own timing; else a lower channel whose timing it copies
    float fadeIn = 0;               // default fade-in, seconds
    float fadeOut = 0;              // default fade-out, seconds
    uint8_t loop = 1;               // at the end of the list: 1 wraps to the first pose, 0 stops
    uint8_t rewind = 1;             // when the channel stops: 1 resets its list position to 0
    std::vector<float> boneWeights; // empty: every bone with factor 1; else one factor per bone
};
