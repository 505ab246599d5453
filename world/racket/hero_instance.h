#pragma once
// The hero's skinned instance as the racket drives it: its channels are started, stopped and read
// by name (HeroChannel), never by bare number.
#include <cstddef>

#include "render/mesh/hero_channels.h"
#include "render/mesh/skel_instance.h"

class YHeroInstance : public YSkelMeshInstance {
public:
    using YSkelMeshInstance::YSkelMeshInstance;

    // A negative fade or weight takes the channel's own.
    void StartChannel(HeroChannel channel, float fadeTime, float weight) {
        YSkelMeshInstance::StartChannel(ChannelNumber(channel), fadeTime, weight);
    }
    void StopChannel(HeroChannel channel, float fadeTime) {
        YSkelMeshInstance::StopChannel(ChannelNumber(channel), fadeTime);
    }
    // The channel's play state, or null when the model left the channel out.
    const YAnimChannelState* Channel(HeroChannel channel) const {
        const auto i = static_cast<std::size_t>(ChannelNumber(channel));
        return i < channels.size() ? &channels[i] : nullptr;
    }
    // Whether the channel plays (or fades).
    bool Playing(HeroChannel channel) const {
        const YAnimChannelState* ch = Channel(channel);
        return ch && ch->state != CHANNEL_STOPPED;
    }
    // The channel's current key, -1 when the model left the channel out.
    int Key(HeroChannel channel) const {
        const YAnimChannelState* ch = Channel(channel);
        return ch ? ch->position : -1;
    }
};
