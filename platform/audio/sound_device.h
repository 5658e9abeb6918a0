#pragma once
// The sound device and its static sound buffers.
//
// A device opens the host's audio output and owns the mixer the output pulls from. A buffer
// holds one whole sound in the format it was described with (PCM as a WAVE file stores it) and
// is one voice of the mixer: its content is converted to the output format when it is unlocked
// (once per load), so the mixer never converts while it plays. Until then the voice is empty.
// Playing a buffer plays it once from its current position; setting the position to 0 and playing
// again restarts it, cutting off the earlier playback, while other buffers sound on.
//
// Every buffer holds a reference to its device, so the device (and the audio output) stays
// until its last buffer is released.

#include <cstdint>
#include <vector>

#include "platform/audio/mixer.h"
#include "platform/audio/wave_format.h"
#include "platform/result.h"
#include "platform/window.h"

namespace plat {

constexpr Result kSoundBufferLost = static_cast<Result>(0x88780096u);
constexpr Result kSoundNoDriver = static_cast<Result>(0x88780078u);
constexpr Result kSoundBadFormat = static_cast<Result>(0x88780064u);

// Buffer description flags (only recorded: every buffer is a static one, and its frequency,
// pan and volume stay at the file's rate, centred, full volume).
namespace soundCaps {
constexpr uint32_t Static = 0x02;
constexpr uint32_t CtrlFrequency = 0x20;
constexpr uint32_t CtrlPan = 0x40;
constexpr uint32_t CtrlVolume = 0x80;
}  // namespace soundCaps

// Cooperative levels.
namespace soundCoop {
constexpr uint32_t Normal = 1;
constexpr uint32_t Priority = 2;
constexpr uint32_t Exclusive = 3;
constexpr uint32_t WritePrimary = 4;
}  // namespace soundCoop

// Lock flags.
namespace soundLock {
constexpr uint32_t FromWriteCursor = 1;  // the offset argument is ignored
constexpr uint32_t EntireBuffer = 2;     // the byte count argument is ignored
}  // namespace soundLock

// The version tag a description carries in its `size` field.
constexpr uint32_t kSoundBufferDescSize = 36;
// The byte sizes a buffer may have.
constexpr uint32_t kMinSoundBufferBytes = 4;
constexpr uint32_t kMaxSoundBufferBytes = 0x0FFFFFFF;
// The longest sound a buffer may hold once converted: ten minutes.
constexpr uint64_t kMaxSoundFrames = uint64_t{Mixer::kOutputRate} * 600;

struct SoundBufferDesc {
    uint32_t size = kSoundBufferDescSize;
    uint32_t flags = 0;
    uint32_t bufferBytes = 0;
    uint32_t reserved = 0;
    const WaveFormat* format = nullptr;  // copied by createSoundBuffer
    uint8_t algorithm3d[16] = {};        // unused
};

class SoundDevice;

class SoundBuffer : public RefCounted {
  public:
    // Up to two writable regions of `bytes` bytes from `offset`: the first up to the end of the
    // buffer, the second, if the request wraps, from its start. A buffer is locked once at a
    // time. kSoundBufferLost when its memory was lost.
    Result lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* bytes1, void** region2,
                uint32_t* bytes2, uint32_t flags);
    // Ends the lock, naming the regions the lock gave and the byte counts written (at most the
    // ones given). The buffer's whole content is then converted for the mixer.
    Result unlock(void* region1, uint32_t bytes1, void* region2, uint32_t bytes2);
    // Gives back lost memory, filled with silence; the content has to be written again.
    Result restore();
    // The play position in bytes; must lie within the buffer (below its size).
    Result setCurrentPosition(uint32_t offset);
    // The play position and the write cursor, in bytes. The write cursor is where writing is
    // safe: the play position itself (0 for a buffer never played).
    Result getCurrentPosition(uint32_t* play, uint32_t* write);
    // Plays once from the current position to the end. `reserved`, `priority` and `flags` must
    // be 0 (looping is not offered). kSoundBufferLost when the memory was lost.
    Result play(uint32_t reserved, uint32_t priority, uint32_t flags);
    Result stop();

    // The memory is lost, as when another program takes the sound hardware: the buffer falls
    // silent until it is restored and filled again.
    void loseMemory();
    bool lost() const { return lost_; }
    // The mixer voice this buffer plays on.
    int voice() const { return voice_; }
    const WaveFormat& format() const { return format_; }

  private:
    friend class SoundDevice;
    SoundBuffer(SoundDevice* device, int voice, const WaveFormat& format);
    ~SoundBuffer() override;
    uint32_t toFrame(uint32_t offset) const;
    uint32_t toOffset(uint32_t frame) const;
    bool publish();  // converts the content and hands it to the mixer voice

    SoundDevice* device_;
    int voice_;
    WaveFormat format_;
    std::vector<uint8_t> bytes_;
    bool lost_ = false;
    bool locked_ = false;
    uint8_t* lockRegion1_ = nullptr;
    uint32_t lockBytes1_ = 0;
    uint8_t* lockRegion2_ = nullptr;
    uint32_t lockBytes2_ = 0;
};

class SoundDevice : public RefCounted {
  public:
    // kOk for a window and a known level; the level changes nothing here.
    Result setCooperativeLevel(WindowHandle window, uint32_t level);
    // A static buffer of the description's size and format. The format must be PCM the mixer
    // can convert (one or two channels, 8 or 16 bits, 100..200000 Hz); the new buffer holds
    // silence (and plays nothing until it is filled). Fails when the mixer has no free voice.
    Result createSoundBuffer(const SoundBufferDesc& desc, SoundBuffer** out);

    Mixer& mixer() { return mixer_; }

  private:
    friend Result createSoundDevice(SoundDevice** out);
    SoundDevice() = default;
    ~SoundDevice() override;

    Mixer mixer_;
    bool audioOpen_ = false;
};

// Creates the device on the host's audio output (44100 Hz stereo, 16-bit), which pulls from the
// device's mixer until the device goes away. kSoundNoDriver when the host has no audio output.
Result createSoundDevice(SoundDevice** out);

// Failures to inject, for tests of the callers' error handling. All false by default.
struct SoundFaults {
    bool createDevice = false;
    bool cooperativeLevel = false;
    bool createBuffer = false;
    bool newBuffersLost = false;  // buffers are created with their memory lost
    bool restore = false;         // restoring fails, the memory stays lost
    bool lock = false;
    bool unlock = false;
};
SoundFaults& soundFaults();

}  // namespace plat
