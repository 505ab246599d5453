#include "render/mesh/skel_instance.h"

#include <algorithm>
#include <cmath>

namespace {

const YMatrix IDENTITY{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

YQuat Scaled(const YQuat& q, float s) { return {q.x * s, q.y * s, q.z * s, q.w * s}; }

void AddTo(YQuat& to, const YQuat& q) {
    to.x += q.x;
    to.y += q.y;
    to.z += q.z;
    to.w += q.w;
}

// Along the shorter arc; nearly equal rotations are mixed linearly.
YQuat Slerp(const YQuat& q0, const YQuat& q1, float t) {
    float c = q0.x * q1.x + q0.y * q1.y + q0.z * q1.z + q0.w * q1.w;
    float s = 1.0f;
    if (c < 0) {
        c = -c;
        s = -1.0f;
    }
    YQuat r;
    if (1.0f - c <= 0.000001f) {
        r = Scaled(q0, 1.0f - t);
        AddTo(r, Scaled(q1, s * t));
    } else {
        const float theta = std::acos(c);
        const float sinTheta = std::sin(theta);
        r = Scaled(q0, std::sin((1.0f - t) * theta) / sinTheta);
        AddTo(r, Scaled(q1, s * std::sin(t * theta) / sinTheta));
    }
    return r;
}

} // namespace

YSkelMeshInstance::YSkelMeshInstance(YSkelMesh* mesh_) : YMeshInstance(mesh_, 1.0f, 1), skeleton(mesh_) {
    if (!skeleton) return;
    const std::size_t boneCount = skeleton->bones.size();
    rotations.assign(boneCount, YQuat{0, 0, 0, 0});
    channels.resize(skeleton->channelConfigs.size());
    attachments.assign(skeleton->attachments.size(), IDENTITY);
    boneSums_.assign(boneCount, 0.0f);
    blended_.assign(boneCount, YQuat{0, 0, 0, 0});
    globals_.assign(boneCount, IDENTITY);
    groupSums_.assign(skeleton->positionGroups.size(), YVector(0, 0, 0));
}

YSkelMeshInstance::~YSkelMeshInstance() = default;

// ---------------------------------------------------------------- channels

const std::vector<int32_t>* YSkelMeshInstance::ChannelList(std::size_t channel) const {
    if (!skeleton || channel >= channels.size() || channel >= skeleton->channelConfigs.size()) return nullptr;
    const int32_t list = skeleton->channelConfigs[channel].poseList;
    if (!IsPlayablePoseList(*skeleton, list)) return nullptr;
    return &skeleton->poseLists[static_cast<std::size_t>(list)];
}

void YSkelMeshInstance::Halt(std::size_t channel) {
    YAnimChannelState& st = channels[channel];
    st.state = CHANNEL_STOPPED;
    st.time = 0;
    if (skeleton->channelConfigs[channel].rewind) st.position = 0;
}

namespace {

// The lower channel whose timing `channel` copies, or -1.
int32_t SyncOf(const YAnimChannelConfig& config, std::size_t channel) {
    const int32_t sync = config.syncChannel;
    return sync >= 0 && static_cast<std::size_t>(sync) < channel ? sync : -1;
}

} // namespace

void YSkelMeshInstance::StartChannel(int32_t channel, float fadeTime, float weight) {
    if (channel < 0) return;
    const std::size_t ch = static_cast<std::size_t>(channel);
    const std::vector<int32_t>* list = ChannelList(ch);
    if (!list) return;
    const YAnimChannelConfig& config = skeleton->channelConfigs[ch];
    YAnimChannelState& st = channels[ch];
    if (fadeTime < 0) fadeTime = std::max(config.fadeIn, 0.0f);
    if (weight < 0) weight = config.weight;
    st.weight = weight;

    switch (st.state) {
        case CHANNEL_STOPPED: {
            st.state = CHANNEL_FADING_IN;
            st.fadeTimer = st.fadeIn = fadeTime;
            st.fadeOut = config.fadeOut;
            const int32_t sync = SyncOf(config, ch);
            if (sync < 0) {
                // A fresh or rewound channel sits at 0, so its first step runs from the list's first
                // pose to its second.
                st.position = static_cast<int32_t>((static_cast<std::size_t>(st.position) + 1) % list->size());
                st.time = 0;
                st.duration = rate > 0 ? static_cast<float>(skeleton->poses[(*list)[st.position]].frames) / rate : 0;
            } else {
                const YAnimChannelState& leader = channels[static_cast<std::size_t>(sync)];
                st.position = leader.position;
                st.time = leader.time;
                st.duration = leader.duration;
            }
            break;
        }
        case CHANNEL_FADING_IN:
            // Only ever shorter: the same progress over the shorter fade when the fade has less left.
            if (fadeTime < st.fadeIn) {
                if (st.fadeTimer <= fadeTime) {
                    st.fadeTimer = st.fadeTimer / st.fadeIn * fadeTime;
                    st.fadeIn = fadeTime;
                } else {
                    st.fadeTimer = st.fadeIn = fadeTime;
                }
            }
            break;
        case CHANNEL_FADING_OUT: {
            // The fade-in continues from the weight the fade-out had brought the channel to. A fade
            // of no length has run out completely.
            const float left = st.fadeOut > 0 ? st.fadeTimer / st.fadeOut : 0.0f;
            st.state = CHANNEL_FADING_IN;
            st.fadeIn = fadeTime;
            st.fadeTimer = (1.0f - left) * fadeTime;
            break;
        }
        default: break;
    }
}

void YSkelMeshInstance::StopChannel(int32_t channel, float fadeTime) {
    if (channel < 0 || !skeleton) return;
    const std::size_t ch = static_cast<std::size_t>(channel);
    if (ch >= channels.size() || ch >= skeleton->channelConfigs.size()) return;
    YAnimChannelState& st = channels[ch];
    if (fadeTime < 0) fadeTime = std::max(skeleton->channelConfigs[ch].fadeOut, 0.0f);

    switch (st.state) {
        case CHANNEL_FADING_IN: {
            // A fade-in of no length is complete.
            const float left = st.fadeIn > 0 ? st.fadeTimer / st.fadeIn : 0.0f;
            st.state = CHANNEL_FADING_OUT;
            st.fadeOut = fadeTime;
            st.fadeTimer = (1.0f - left) * fadeTime;
            break;
        }
        case CHANNEL_FADING_OUT:
            if (fadeTime < st.fadeOut) {
                if (st.fadeTimer <= fadeTime) {
                    st.fadeTimer = st.fadeTimer / st.fadeOut * fadeTime;
                    st.fadeOut = fadeTime;
                } else {
                    st.fadeTimer = st.fadeOut = fadeTime;
                }
            }
            break;
        case CHANNEL_PLAYING:
            st.state = CHANNEL_FADING_OUT;
            st.fadeTimer = st.fadeOut = fadeTime;
            break;
        default: break;
    }
}

void YSkelMeshInstance::UpdateChannels(float dt) {
    if (!skeleton || !std::isfinite(dt)) return;
    const std::size_t count = std::min(channels.size(), skeleton->channelConfigs.size());
    for (std::size_t ch = 0; ch < count; ++ch) {
        YAnimChannelState& st = channels[ch];
        if (st.state == CHANNEL_STOPPED) continue;
        const std::vector<int32_t>* list = ChannelList(ch);
        if (!list) {
            // Its pose list was changed under it: nothing left to play.
            Halt(ch);
            continue;
        }
        const YAnimChannelConfig& config = skeleton->channelConfigs[ch];
        const std::size_t size = list->size();
        poseChanged = 1;

        if (st.state == CHANNEL_FADING_IN) {
            st.fadeTimer -= dt;
            if (st.fadeTimer < 0) st.state = CHANNEL_PLAYING;
        }

        // A list that does not loop fades out so that the fade ends with its last step.
        if (!config.loop && st.state != CHANNEL_FADING_OUT && rate > 0) {
            int64_t frames = 0;
            for (std::size_t i = static_cast<std::size_t>(std::max(st.position, 0)); i < size; ++i)
                frames += skeleton->poses[(*list)[i]].frames;
            const float remaining = static_cast<float>(frames) / rate - (st.time + dt);
            if (remaining < 0) {
                Halt(ch);
                return;
            }
            if (remaining < st.fadeOut) {
                st.fadeTimer = remaining;
                st.state = CHANNEL_FADING_OUT;
            }
        }

        if (st.state == CHANNEL_FADING_OUT) {
            st.fadeTimer -= dt;
            if (st.fadeTimer < 0) {
                Halt(ch);
                return;
            }
        }

        const int32_t sync = SyncOf(config, ch);
        if (sync >= 0) {
            const YAnimChannelState& leader = channels[static_cast<std::size_t>(sync)];
            st.state = leader.state;
            st.position = leader.position;
            st.time = leader.time;
            st.duration = leader.duration;
            continue;
        }
        if (!(rate > 0)) continue; // the clock stands still
        st.time += dt;
        // Every step of a playable list lasts at least a frame, so this ends.
        while (st.time >= st.duration) {
            st.position += 1;
            if (st.position < 0 || static_cast<std::size_t>(st.position) >= size) {
                if (!config.loop) {
                    Halt(ch);
                    return;
                }
                st.position = 0;
            }
            st.time -= st.duration;
            st.duration = static_cast<float>(skeleton->poses[(*list)[st.position]].frames) / rate;
        }
    }
}

// ---------------------------------------------------------------- pose

float YSkelMeshInstance::EffectiveWeight(std::size_t channel) const {
    const YAnimChannelState& st = channels[channel];
    switch (st.state) {
        case CHANNEL_FADING_IN: return st.fadeIn > 0 ? (1.0f - st.fadeTimer / st.fadeIn) * st.weight : st.weight;
        case CHANNEL_FADING_OUT: return st.fadeOut > 0 ? st.fadeTimer * st.weight / st.fadeOut : 0.0f;
        case CHANNEL_PLAYING: return st.weight;
        default: return 0.0f;
    }
}

void YSkelMeshInstance::UpdatePose() {
    if (!poseChanged) return;
    poseChanged = 0;
    const std::size_t boneCount = rotations.size();
    if (!skeleton || boneCount == 0 || boneCount != skeleton->bones.size()) return;

    std::fill(boneSums_.begin(), boneSums_.end(), 0.0f);
    const std::size_t count = std::min(channels.size(), skeleton->channelConfigs.size());
    float total = 0;
    for (std::size_t ch = 0; ch < count; ++ch) {
        YAnimChannelState& st = channels[ch];
        const std::vector<int32_t>* list = ChannelList(ch);
        // A synced channel copies its leader's position, which its own list may not have.
        const bool placed = list && st.position >= 0 && static_cast<std::size_t>(st.position) < list->size();
        const float e = placed ? EffectiveWeight(ch) : 0.0f;
        st.effectiveWeight = e;
        if (!(e > 0)) continue;
        const std::vector<float>& boneWeights = skeleton->channelConfigs[ch].boneWeights;
        for (std::size_t b = 0; b < boneCount; ++b)
            boneSums_[b] += boneWeights.empty() ? e : (b < boneWeights.size() ? boneWeights[b] : 0.0f) * e;
        total += e;
    }
    if (!(total > 0)) return;

    YVector root(0, 0, 0);
    std::fill(blended_.begin(), blended_.end(), YQuat{0, 0, 0, 0});
    for (std::size_t ch = 0; ch < count; ++ch) {
        const YAnimChannelState& st = channels[ch];
        const float e = st.effectiveWeight;
        if (!(e > 0)) continue;
        const std::vector<int32_t>& list = *ChannelList(ch);
        const std::vector<float>& boneWeights = skeleton->channelConfigs[ch].boneWeights;
        const float t = st.duration > 0 ? st.time / st.duration : 1.0f;
        const std::size_t pos = static_cast<std::size_t>(st.position);
        const YSkelPose& current = skeleton->poses[list[pos]];
        const YSkelPose& previous = skeleton->poses[list[pos > 0 ? pos - 1 : list.size() - 1]];
        const YVector offset = previous.rootOffset + (current.rootOffset - previous.rootOffset) * t;

        const float w0 = boneWeights.empty() ? 1.0f : boneWeights[0];
        if (w0 > 0 && boneSums_[0] > 0) root = root + offset * (w0 * e / boneSums_[0]);
        for (std::size_t b = 0; b < boneCount; ++b) {
            const float wb = boneWeights.empty() ? 1.0f : (b < boneWeights.size() ? boneWeights[b] : 0.0f);
            if (wb > 0 && boneSums_[b] > 0)
                AddTo(blended_[b],
                      Scaled(Slerp(previous.rotations[b], current.rotations[b], t), wb * e / boneSums_[b]));
        }
    }

    // The sums are not renormalised; a bone no channel drives keeps (0, 0, 0, 0), which the
    // rotation matrix turns into no rotation at all.
    rootOffset = root;
    std::copy(blended_.begin(), blended_.end(), rotations.begin());
    EvaluatePose();
    skeleton->ComputeFaceNormals(vertices);
    skeleton->ComputeVertexNormals(vertices);
}

void YSkelMeshInstance::SetPose(int32_t pose, bool vertexNormals) {
    if (!skeleton || pose < 0 || static_cast<std::size_t>(pose) >= skeleton->poses.size()) return;
    const YSkelPose& p = skeleton->poses[static_cast<std::size_t>(pose)];
    if (p.rotations.size() != rotations.size()) return;
    rootOffset = p.rootOffset;
    std::copy(p.rotations.begin(), p.rotations.end(), rotations.begin());
    EvaluatePose();
    skeleton->ComputeFaceNormals(vertices);
    if (vertexNormals) skeleton->ComputeVertexNormals(vertices);
}

void YSkelMeshInstance::EvaluatePose() {
    if (!skeleton) return;
    const std::vector<YBone>& bones = skeleton->bones;
    const std::vector<YPositionGroup>& groups = skeleton->positionGroups;
    // The work space was sized for the mesh as it was when the instance was built.
    if (bones.size() != rotations.size() || groups.size() != groupSums_.size() ||
        skeleton->attachments.size() != attachments.size())
        return;

    std::fill(groupSums_.begin(), groupSums_.end(), YVector(0, 0, 0));
    for (std::size_t b = 0; b < bones.size(); ++b) {
        const YBone& bone = bones[b];
        const bool child = bone.parent >= 0 && static_cast<std::size_t>(bone.parent) < b;
        const YMatrix local = QuatToMatrix(rotations[b], bone.parent < 0 ? rootOffset : bone.offset);
        // Row vectors: the bone's own transform first, then its parent's.
        globals_[b] = child ? globals_[static_cast<std::size_t>(bone.parent)] * local : local;
        // From the mesh into the bone's rest space, then out along the posed bone.
        const YMatrix skin = globals_[b] * bone.inverseBind;
        for (const YBoneInfluence& inf : bone.influences) {
            if (inf.group < 0 || static_cast<std::size_t>(inf.group) >= groups.size()) continue;
            const std::size_t g = static_cast<std::size_t>(inf.group);
            groupSums_[g] = groupSums_[g] + skin.TransformPoint(groups[g].pos) * inf.weight;
        }
    }
    for (std::size_t g = 0; g < groups.size(); ++g)
        for (int i = 0; i < groups[g].vertexCount; ++i) {
            const int32_t v = groups[g].vertices[i];
            if (v >= 0 && static_cast<std::size_t>(v) < vertices.size())
                vertices[static_cast<std::size_t>(v)].pos = groupSums_[g];
        }
    for (std::size_t a = 0; a < attachments.size(); ++a) {
        const YSkelAttachment& at = skeleton->attachments[a];
        attachments[a] = at.bone >= 0 && static_cast<std::size_t>(at.bone) < bones.size()
                             ? globals_[static_cast<std::size_t>(at.bone)] * at.local
                             : at.local;
    }
    verticesChanged = 1;
}
