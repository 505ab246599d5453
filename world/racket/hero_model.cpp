#include "world/racket/hero_model.h"

#include <algorithm>
#include <utility>

#include "core/log.h"
#include "render/mesh/hero_channels.h"
#include "render/mesh/skel_channels.h"
#include "render/mesh/skel_mesh.h"

std::string g_HeroMeshFile = "mesh\\hero.ams";

namespace {

constexpr float HERO_SCALE = 0.02f;
// The fewest hold points the racket's objects use: 0 balls and bombs, 2 grenades, 3 the pipe.
constexpr int HERO_MIN_BONES = 4;

struct SetUpMesh {
    const YSkelMesh* mesh;
    std::vector<float> turns;
};

std::vector<SetUpMesh>& SetUp() {
    static std::vector<SetUpMesh> done;
    return done;
}

bool AnimationPlayable(const YSkelMesh& mesh, int animation) {
    const HeroAnimation& a = HERO_ANIMATIONS[animation];
    if (a.poseCount <= 0) return false;
    const int last = a.firstPose + a.poseCount - 1;
    if (a.firstPose < 0 || last >= static_cast<int>(mesh.poses.size())) return false;
    for (int p = a.firstPose; p <= last; ++p) {
        if (mesh.poses[p].frames <= 0 || mesh.poses[p].rotations.size() != mesh.bones.size()) return false;
    }
    return true;
}

// Pose lists and channels; returns how many channels were left out.
int SetUpChannels(YSkelMesh& mesh) {
    mesh.poseLists.clear();
    for (const HeroAnimation& a : HERO_ANIMATIONS) mesh.poseLists.push_back(MakeIntRange(a.firstPose, a.poseCount));
    int leftOut = 0;
    if (mesh.bones.empty()) return static_cast<int>(HERO_CHANNELS.size());
    for (std::size_t c = 0; c < HERO_CHANNELS.size(); ++c) {
        const HeroChannelSetup& ch = HERO_CHANNELS[c];
        // A sync channel that is not playable would leave this one without timing of its own.
        const bool syncOk = ch.syncChannel < 0 || AnimationPlayable(mesh, HERO_CHANNELS[ch.syncChannel].animation);
        if (!AnimationPlayable(mesh, ch.animation) || !syncOk) {
            ++leftOut;
            continue;
        }
        mesh.SetChannel(static_cast<int32_t>(c), ch.syncChannel, ch.animation, ch.weight, ch.fadeIn, ch.fadeOut,
                        ch.loop, HERO_CHANNEL_REWIND);
        if (ch.boneWeights && mesh.bones.size() == static_cast<std::size_t>(HERO_BONE_COUNT)) {
            mesh.SetChannelBoneWeights(static_cast<int32_t>(c), ch.boneWeights);
        }
    }
    return leftOut;
}

// The parked walk's root offsets y move into the turning table (the racket turns the figure).
std::vector<float> TakeRootTurns(YSkelMesh& mesh) {
    std::vector<float> turns;
    const int animation = HERO_CHANNELS[ChannelNumber(HeroChannel::ParkedWalk)].animation;
    if (mesh.bones.empty() || !AnimationPlayable(mesh, animation)) return turns;
    const HeroAnimation& a = HERO_ANIMATIONS[animation];
    for (int p = a.firstPose; p < a.firstPose + a.poseCount; ++p) {
        turns.push_back(mesh.poses[p].rootOffset.y);
        mesh.poses[p].rootOffset.y = 0.0f;
    }
    return turns;
}

} // namespace

YSkelMesh* HeroSkelMesh() {
    YSkelMesh* mesh = GetSkelMesh(g_HeroMeshFile);
    for (const SetUpMesh& s : SetUp())
        if (s.mesh == mesh) return mesh;

    const int leftOut = SetUpChannels(*mesh);
    mesh->Scale(HERO_SCALE);
    SetUp().push_back({mesh, TakeRootTurns(*mesh)});

    const int bones = static_cast<int>(mesh->bones.size());
    const int attachments = static_cast<int>(mesh->attachments.size());
    if (leftOut > 0 || bones < HERO_MIN_BONES || attachments < HERO_ATTACHMENT_COUNT) {
        LogPrintf("Hero model %s: %d bones, %d poses, %d attachment points; %d of %d channels left out.",
                  g_HeroMeshFile.c_str(), bones, static_cast<int>(mesh->poses.size()), attachments, leftOut,
                  static_cast<int>(HERO_CHANNELS.size()));
    }
    return mesh;
}

const std::vector<float>& HeroRootTurns(const YSkelMesh* mesh) {
    static const std::vector<float> none;
    for (const SetUpMesh& s : SetUp())
        if (s.mesh == mesh) return s.turns;
    return none;
}
