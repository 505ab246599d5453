#pragma once
// Named sound effects. An effect has one or more variants (decoded sounds, in file order) and up to
// MAX_VOICES voices that play them in 3D. Game code looks an effect up once by name and keeps the
// pointer; a name no file defines gives an empty effect that never plays. Effects live until the
// process ends. Main thread only.
#include <cstdint>
#include <string>
#include <vector>

#include "math/vector.h"

class YSoundBuffer;
class YSoundSource;

class YSoundFx {
public:
    static constexpr int MAX_VOICES = 7;

    explicit YSoundFx(std::string effectName);

    // Plays the effect at `position`: a volume in [0, 0.1) plays nothing, a negative one means
    // full volume. A voice is chosen (ChooseVoice), placed, given the volume and queued; it starts
    // at the next UpdateSound. A voice that cannot be made drops the play with a log line.
    void PlaySoundFx(const YVector* position, float volume, const YVector* velocity);

    // No variants: null. Once there are as many voices as variants, a voice that is not playing,
    // searched from a random one; otherwise, or when every voice is busy, a new voice on the next
    // variant in turn while fewer than MAX_VOICES exist; else null.
    YSoundSource* ChooseVoice();

    std::vector<YSoundBuffer*> variants;
    std::vector<YSoundSource*> voices;
    int32_t nextVariant = 0;
    std::string name;
};

// The effect with this name (case-sensitive); a new empty one is made and registered on a miss.
YSoundFx* GetSoundFx(std::string name);

// The same as sound->PlaySoundFx(...); a null effect plays nothing.
void PlaySoundFx(YSoundFx* sound, const YVector* position, float volume, const YVector* velocity);

// Reads the effects of a markup file ("data\sound_fx.yml"):
//   <sound name="kick"> <file path="sound\kick1.wav"/> <file path="sound\kick2.wav"/> </sound>
//   <sound_once name="mutation" path="sound\mutation.wav"/>
// Each file becomes one variant of its effect. Faults, and files that fail to load, are logged as
// "Sound init parser error, %s, file: %s, line: %d" and skipped.
void ParseSoundFile(const char* path);
