#include "sound/sound_fx.h"

#include <exception>
#include <utility>

#include "core/log.h"
#include "platform/sys/crt_rand.h"
#include "sound/sound_buffer.h"
#include "sound/sound_source.h"

namespace {

// Room reserved in each effect's lists, so that a frame's plays do not allocate.
constexpr size_t LIST_RESERVE = 20;

// Every effect, in creation order; never destroyed, as callers keep plain pointers.
std::vector<YSoundFx*>& Registry() {
    static auto* registry = new std::vector<YSoundFx*>;
    return *registry;
}

} // namespace

YSoundFx::YSoundFx(std::string effectName) : name(std::move(effectName)) {
    variants.reserve(LIST_RESERVE);
    voices.reserve(LIST_RESERVE);
}

YSoundFx* GetSoundFx(std::string name) {
    for (YSoundFx* fx : Registry())
        if (fx->name == name) return fx;
    auto* fx = new YSoundFx(std::move(name));
    Registry().push_back(fx);
    return fx;
}

void PlaySoundFx(YSoundFx* sound, const YVector* position, float volume, const YVector* velocity) {
    if (sound) sound->PlaySoundFx(position, volume, velocity);
}

void YSoundFx::PlaySoundFx(const YVector* position, float volume, const YVector* velocity) {
    if (volume >= 0.0f && volume < 0.1f) return;
    YSoundSource* voice = nullptr;
    try {
        voice = ChooseVoice();
    } catch (const std::exception& e) {
        LogPrintf(g_Log, "Sound %s not played: %s", name.c_str(), e.what());
        return;
    }
    if (!voice) return;
    voice->SetPosition(position);
    voice->SetVelocity(velocity);
    voice->SetVolume(volume >= 0.1f ? volume : 1.0f);
    voice->Play(false);
}

YSoundSource* YSoundFx::ChooseVoice() {
    if (variants.empty()) return nullptr;
    const size_t count = voices.size();
    if (count >= variants.size()) {
        const size_t start = static_cast<size_t>(plat::CrtRand());
        for (size_t i = 0; i < count; ++i) {
            YSoundSource* voice = voices[(start + i) % count];
            if (!voice->IsPlaying()) return voice;
        }
    }
    if (count >= static_cast<size_t>(MAX_VOICES)) return nullptr;

    // Throws when the device cannot make the voice; nothing changes then.
    auto* voice = new YSoundSource(variants[static_cast<size_t>(nextVariant)]);
    voices.push_back(voice);
    nextVariant = (nextVariant + 1) % static_cast<int32_t>(variants.size());
    return voice;
}
