#pragma once
// One effect voice: a duplicate of a sound buffer with its own 3D position, velocity and volume.
// A play is queued and started by the next UpdateSound. The voice plays the buffer it was made on
// for its whole life and follows the device like every sound object.
#include <memory>

#include "math/vector.h"
#include "platform/audio/device.h"
#include "sound/sound_device.h"

class YSoundBuffer;

class YSoundSource : public YSoundResource {
public:
    // Own volume 1, nothing pending; joins the voice list and, with a device, makes its device
    // objects (throwing Create's messages; the voice is then not made).
    explicit YSoundSource(YSoundBuffer* source);
    ~YSoundSource() override;

    // When the source buffer has a device buffer and this voice has none: duplicates it (failure
    // throws "Could create SoundSource"), takes its 3D controls (failure throws
    // "QueryInterface::IID_IDirectSound3DBuffer error"), then applies the volume.
    void Create() override;
    void Release() override;

    // With a device buffer: queues the play for the next UpdateSound and marks it pending.
    void Play(bool loop);
    // Starts the queued play; a buffer found lost is restored from its data and started once more.
    void CommitPlay();
    // Pending counts as playing; without a device buffer the voice never plays.
    bool IsPlaying() const;

    // Deferred 3D settings; the next UpdateSound commits them.
    void SetPosition(const YVector* position);
    void SetVelocity(const YVector* velocity);

    // Own volume, kept as given; it is clamped to 0..1 where it meets the effects volume.
    void SetVolume(float volume);
    float GetVolume() const { return volume_; }
    void ApplyVolume();

    YSoundBuffer* GetSource() const { return source_; }
    plat::DsBuffer* GetBuffer() const { return buffer_.get(); }

private:
    std::shared_ptr<plat::DsBuffer> buffer_;
    std::shared_ptr<plat::Ds3DBuffer> buffer3D_;
    float volume_ = 1.0f;
    bool loop_ = false;
    bool pending_ = false;
    YSoundBuffer* source_;
};
