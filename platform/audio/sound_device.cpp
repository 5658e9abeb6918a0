#include "platform/audio/sound_device.h"

#include <algorithm>
#include <new>

#include "platform/audio/pcm_convert.h"
#include "platform/host.h"

namespace plat {

SoundFaults& soundFaults() {
    static SoundFaults faults;
    return faults;
}

// --- Device ---

Result createSoundDevice(SoundDevice** out) {
    host().note("createSoundDevice");
    if (!out) return kInvalidArg;
    *out = nullptr;
    if (soundFaults().createDevice) return kSoundNoDriver;
    auto* device = new (std::nothrow) SoundDevice();
    if (!device) return kOutOfMemory;
    if (!host().openAudio(Mixer::kOutputRate, &device->mixer_)) {
        device->release();
        return kSoundNoDriver;
    }
    device->audioOpen_ = true;
    *out = device;
    return kOk;
}

SoundDevice::~SoundDevice() {
    // The host stops pulling before closeAudio returns, so the mixer can go with the device.
    if (audioOpen_) host().closeAudio();
}

Result SoundDevice::setCooperativeLevel(WindowHandle window, uint32_t level) {
    if (soundFaults().cooperativeLevel) return kFail;
    if (!window || level < soundCoop::Normal || level > soundCoop::WritePrimary) return kInvalidArg;
    return kOk;
}

Result SoundDevice::createSoundBuffer(const SoundBufferDesc& desc, SoundBuffer** out) {
    if (!out) return kInvalidArg;
    *out = nullptr;
    if (soundFaults().createBuffer) return kFail;
    if (desc.size != kSoundBufferDescSize || !desc.format) return kInvalidArg;
    if (desc.bufferBytes < kMinSoundBufferBytes || desc.bufferBytes > kMaxSoundBufferBytes)
        return kInvalidArg;
    const WaveFormat& format = *desc.format;
    if (!convertiblePcm(format)) return kSoundBadFormat;
    if (convertedFrames(format, desc.bufferBytes, Mixer::kOutputRate) > kMaxSoundFrames)
        return kOutOfMemory;

    const int voice = mixer_.openVoice();
    if (voice < 0) return kOutOfMemory;
    auto* buffer = new (std::nothrow) SoundBuffer(this, voice, format);
    if (!buffer) {
        mixer_.closeVoice(voice);
        return kOutOfMemory;
    }
    // A new buffer holds silence: 0 for 16-bit samples, 128 for unsigned 8-bit ones.
    try {
        buffer->bytes_.assign(desc.bufferBytes, format.bitsPerSample == 8 ? 0x80 : 0x00);
    } catch (const std::bad_alloc&) {
        buffer->release();
        return kOutOfMemory;
    }
    // The voice stays empty, and so silent, until the first unlock converts the content.
    buffer->lost_ = soundFaults().newBuffersLost;
    *out = buffer;
    return kOk;
}

// --- Buffer ---

SoundBuffer::SoundBuffer(SoundDevice* device, int voice, const WaveFormat& format)
    : device_(device), voice_(voice), format_(format) {
    device_->addRef();
}

SoundBuffer::~SoundBuffer() {
    device_->mixer().closeVoice(voice_);
    device_->release();
}

uint32_t SoundBuffer::toFrame(uint32_t offset) const {
    // The first output frame at or after the input frame that holds `offset`.
    const uint64_t in = offset / format_.blockAlign;
    return static_cast<uint32_t>((in * Mixer::kOutputRate + format_.samplesPerSec - 1) /
                                 format_.samplesPerSec);
}

uint32_t SoundBuffer::toOffset(uint32_t frame) const {
    const uint64_t in = uint64_t{frame} * format_.samplesPerSec / Mixer::kOutputRate;
    return static_cast<uint32_t>(std::min<uint64_t>(in * format_.blockAlign, bytes_.size()));
}

bool SoundBuffer::publish() {
    std::vector<int16_t> converted;
    try {
        converted.resize(convertedFrames(format_, bytes_.size(), Mixer::kOutputRate) * 2);
    } catch (const std::bad_alloc&) {
        return false;
    }
    convertPcm(format_, bytes_.data(), bytes_.size(), Mixer::kOutputRate, converted.data());
    device_->mixer().swapSamples(voice_, converted);
    return true;  // the old samples go with `converted`, outside the mixer's lock
}

Result SoundBuffer::lock(uint32_t offset, uint32_t bytes, void** region1, uint32_t* bytes1,
                         void** region2, uint32_t* bytes2, uint32_t flags) {
    if (!region1 || !bytes1) return kInvalidArg;
    *region1 = nullptr;
    *bytes1 = 0;
    if (region2) *region2 = nullptr;
    if (bytes2) *bytes2 = 0;
    if (lost_) return kSoundBufferLost;
    if (soundFaults().lock || locked_) return kFail;
    const auto size = static_cast<uint32_t>(bytes_.size());
    if (flags & soundLock::FromWriteCursor) getCurrentPosition(nullptr, &offset);
    if (flags & soundLock::EntireBuffer) bytes = size;
    if (bytes == 0 || bytes > size || offset >= size) return kInvalidArg;

    const uint32_t first = std::min(bytes, size - offset);
    const uint32_t second = bytes - first;
    if (second > 0 && (!region2 || !bytes2)) return kInvalidArg;
    lockRegion1_ = bytes_.data() + offset;
    lockBytes1_ = first;
    lockRegion2_ = second > 0 ? bytes_.data() : nullptr;
    lockBytes2_ = second;
    locked_ = true;
    *region1 = lockRegion1_;
    *bytes1 = first;
    if (region2) *region2 = lockRegion2_;
    if (bytes2) *bytes2 = second;
    return kOk;
}

Result SoundBuffer::unlock(void* region1, uint32_t bytes1, void* region2, uint32_t bytes2) {
    if (!locked_ || region1 != lockRegion1_ || bytes1 > lockBytes1_ || bytes2 > lockBytes2_ ||
        (bytes2 > 0 && region2 != lockRegion2_))
        return kInvalidArg;
    locked_ = false;
    lockRegion1_ = lockRegion2_ = nullptr;
    lockBytes1_ = lockBytes2_ = 0;
    if (soundFaults().unlock) return kFail;
    if (lost_) return kSoundBufferLost;
    return publish() ? kOk : kOutOfMemory;
}

Result SoundBuffer::restore() {
    if (!lost_) return kOk;
    if (soundFaults().restore) return kSoundBufferLost;
    // The memory comes back as silence; the voice stays empty until the content is written again.
    std::fill(bytes_.begin(), bytes_.end(), format_.bitsPerSample == 8 ? 0x80 : 0x00);
    lost_ = false;
    return kOk;
}

Result SoundBuffer::setCurrentPosition(uint32_t offset) {
    if (offset >= bytes_.size()) return kInvalidArg;
    device_->mixer().setPosition(voice_, toFrame(offset));
    return kOk;
}

Result SoundBuffer::getCurrentPosition(uint32_t* play, uint32_t* write) {
    const uint32_t offset = toOffset(device_->mixer().position(voice_));
    if (play) *play = offset;
    if (write) *write = offset;
    return kOk;
}

Result SoundBuffer::play(uint32_t reserved, uint32_t priority, uint32_t flags) {
    if (reserved != 0 || priority != 0 || flags != 0) return kInvalidArg;
    if (lost_) return kSoundBufferLost;
    device_->mixer().start(voice_);
    return kOk;
}

Result SoundBuffer::stop() {
    device_->mixer().stop(voice_);
    return kOk;
}

void SoundBuffer::loseMemory() {
    lost_ = true;
    std::vector<int16_t> none;
    device_->mixer().stop(voice_);
    device_->mixer().swapSamples(voice_, none);
}

}  // namespace plat
