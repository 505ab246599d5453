#pragma once
// An animated instance of a skinned mesh: numbered channels play pose lists of the mesh and are
// blended into one pose, which skins the instance's vertices and places its attachment points.
//
// A channel steps through its pose list; each step lasts the target pose's frames at `rate`
// frames per second and interpolates from the previous pose of the list to the current one. A
// channel fades in when started and out when stopped, wraps or stops at the end of its list, may
// copy the timing of a lower channel (its sync channel) and may drive only some bones (its bone
// weights). Per frame the owner calls UpdateChannels(dt) and then UpdatePose(); the attachment
// matrices are read afterwards.
//
// The channel set-up (YSkelMesh::SetChannel and the pose lists) must be complete before the
// instance is built: the instance has one channel state per channel configured then. Channels
// beyond that, channels whose pose list is not playable and start or stop requests for them are
// ignored. Updates allocate nothing.
#include <cstdint>
#include <vector>

#include "render/mesh/mesh_instance.h"
#include "render/mesh/skel_channels.h"
#include "render/mesh/skel_mesh.h"

// Channel states.
constexpr int32_t CHANNEL_STOPPED = 0;
constexpr int32_t CHANNEL_FADING_IN = 1;
constexpr int32_t CHANNEL_FADING_OUT = 2;
constexpr int32_t CHANNEL_PLAYING = 3;

struct YAnimChannelState {
    int32_t state = CHANNEL_STOPPED;
    float weight = 0;          // channel weight given at the start
    float effectiveWeight = 0; // weight after the fade, computed by UpdatePose
    int32_t position = 0;      // index into the pose list: the step running towards that pose
    float time = 0;            // seconds into the current step
    float duration = 0;        // seconds of the current step
    float fadeTimer = 0;       // counts down
    float fadeIn = 0;          // length of the running fade-in
    float fadeOut = 0;         // length of the (next) fade-out
};

class YSkelMeshInstance : public YMeshInstance {
public:
    // Scale 1.0, draw flags 1; a state per configured channel, a rotation per bone and a matrix per
    // attachment point (identity until the first pose).
    explicit YSkelMeshInstance(YSkelMesh* mesh);
    ~YSkelMeshInstance() override;

    // Starts or revives a channel. Negative fadeTime: the config's fade-in; negative weight: the
    // config's weight. A stopped channel fades in from its next step (or takes its sync channel's
    // timing); a fading-in channel only ever shortens its fade; a fading-out one turns round and
    // fades in from the weight it had reached; a playing one just takes the weight.
    void StartChannel(int32_t channel, float fadeTime, float weight);
    // Fades a channel out. Negative fadeTime: the config's fade-out. A fading-in channel turns
    // round from the weight it had reached; a fading-out one only ever shortens its fade.
    void StopChannel(int32_t channel, float fadeTime);
    // Advances fades and steps of every running channel by dt seconds. A channel that stops during
    // the update ends the whole update: the channels after it are not advanced in that call.
    // A non-finite dt does nothing.
    void UpdateChannels(float dt);
    // When a channel has run since the last call: blends the channels into the root offset and the
    // bone rotations, skins the vertices and recomputes the face normals (into the shared mesh,
    // for the silhouettes) and the vertex normals.
    void UpdatePose();
    // Takes key pose `pose` as it is, skins, recomputes the face normals and, when asked, the
    // vertex normals. An invalid pose does nothing.
    void SetPose(int32_t pose, bool vertexNormals);
    // Bone matrices from the root offset and rotations; the vertices of every position group and
    // the attachment matrices follow; verticesChanged := 1.
    void EvaluatePose();

    YSkelMesh* skeleton; // not owned
    YVector rootOffset{0, 0, 0};
    std::vector<YQuat> rotations; // one per bone
    std::vector<YAnimChannelState> channels;
    std::vector<YMatrix> attachments; // model space of the instance (before its world matrix)
    float rate = 50.0f;               // frames per second
    uint8_t poseChanged = 0;

private:
    // The channel's pose list when the channel exists and its list is playable, else null.
    const std::vector<int32_t>* ChannelList(std::size_t channel) const;
    // Stopped: time 0 and, with the config's rewind byte, back to the list's start.
    void Halt(std::size_t channel);
    float EffectiveWeight(std::size_t channel) const;

    // Work space, sized once at construction.
    std::vector<float> boneSums_;
    std::vector<YQuat> blended_;
    std::vector<YMatrix> globals_;
    std::vector<YVector> groupSums_;
};
