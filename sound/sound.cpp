// Sound effects: sixteen slots, each empty or holding one static sound buffer filled from a WAV
// file, and the WAV reader that fills them.

#include "sound/sound.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/shell.h"
#include "platform/audio/sound_device.h"
#include "platform/host.h"
#include "platform/riff.h"

namespace {

plat::SoundDevice* soundDevice = nullptr;
plat::SoundBuffer* soundSlots[kSoundSlots] = {};
SoundObserver observer = nullptr;

constexpr uint32_t kWaveForm = plat::fourCC('W', 'A', 'V', 'E');
constexpr uint32_t kFmtId = plat::fourCC('f', 'm', 't', ' ');
constexpr uint32_t kDataId = plat::fourCC('d', 'a', 't', 'a');

struct FreeBlock {
    void operator()(uint8_t* p) const { std::free(p); }
};
using Block = std::unique_ptr<uint8_t, FreeBlock>;

// Creates the slot's buffer for `length` bytes of `format`; the slot stays empty on failure.
bool createSlotBuffer(int slot, uint32_t length, const plat::WaveFormat& format) {
    if (!soundDevice) return false;
    plat::SoundBufferDesc desc;
    desc.size = plat::kSoundBufferDescSize;
    desc.flags = plat::soundCaps::Static | plat::soundCaps::CtrlFrequency |
                 plat::soundCaps::CtrlPan | plat::soundCaps::CtrlVolume;
    desc.bufferBytes = length;
    desc.reserved = 0;
    desc.format = &format;
    return soundDevice->createSoundBuffer(desc, &soundSlots[slot]) == plat::kOk;
}

// Copies `length` bytes into the buffer through one lock from the write cursor. Memory lost
// before the fill is restored and locked once more.
bool fillSoundBuffer(plat::SoundBuffer* buffer, const uint8_t* data, uint32_t length) {
    void* region1 = nullptr;
    void* region2 = nullptr;
    uint32_t bytes1 = 0, bytes2 = 0;
    auto lock = [&] {
        return buffer->lock(0, length, &region1, &bytes1, &region2, &bytes2,
                            plat::soundLock::FromWriteCursor);
    };
    plat::Result result = lock();
    if (result == plat::kSoundBufferLost) {
        buffer->restore();
        result = lock();
    }
    if (result != plat::kOk) return false;
    // The regions never hold more than was asked for; a device that said otherwise would make
    // the copies read past the data.
    if (bytes1 > length || bytes2 > length - bytes1) {
        buffer->unlock(region1, 0, region2, 0);
        return false;
    }
    std::memcpy(region1, data, bytes1);
    if (bytes2 != 0) std::memcpy(region2, data + bytes1, bytes2);
    return buffer->unlock(region1, bytes1, region2, bytes2) == plat::kOk;
}

// Reads the WAV file and fills the slot. The file is closed and the temporary block freed on
// every path (the reader and the block close and free themselves).
bool loadWave(const char* path, int slot) {
    plat::RiffReader file;
    if (file.open(path) != plat::kOk) return false;

    plat::RiffChunk riff;
    riff.formType = kWaveForm;
    if (file.descend(riff, nullptr, plat::riffFind::Riff) != plat::kOk) return false;

    plat::RiffChunk fmt;
    fmt.id = kFmtId;
    if (file.descend(fmt, &riff, plat::riffFind::Chunk) != plat::kOk) return false;
    // Eighteen bytes whatever the chunk's size: after a 16-byte chunk the two bytes that follow
    // it fill the extra-size field, which PCM does not use.
    uint8_t raw[plat::kWaveFormatBytes];
    if (file.read(raw, plat::kWaveFormatBytes) != plat::kWaveFormatBytes) return false;
    const plat::WaveFormat format = plat::waveFormatFromBytes(raw);
    if (format.formatTag != plat::kWaveFormatPcm) return false;
    if (file.ascend(fmt) != plat::kOk) return false;

    // The search starts after the "fmt " chunk: a "data" chunk before it is not found. The
    // reader only finds a chunk whose declared size the file really holds.
    plat::RiffChunk data;
    data.id = kDataId;
    if (file.descend(data, &riff, plat::riffFind::Chunk) != plat::kOk) return false;
    const uint32_t length = data.size;
    // No buffer can be this large; refuse before allocating and reading it.
    if (length > plat::kMaxSoundBufferBytes) return false;

    Block block(static_cast<uint8_t*>(std::malloc(length > 0 ? length : 1)));
    if (!block) return false;
    if (file.read(block.get(), static_cast<int32_t>(length)) != static_cast<int32_t>(length))
        return false;
    file.close();

    if (!createSlotBuffer(slot, length, format)) return false;
    // A failed fill leaves the created buffer, silent, in the slot.
    return fillSoundBuffer(soundSlots[slot], block.get(), length);
}

}  // namespace

bool initSound() {
    plat::host().note("initSound");
    plat::releaseRef(soundDevice);
    if (plat::createSoundDevice(&soundDevice) != plat::kOk) return false;
    // The device stays in use even if the level is refused.
    return soundDevice->setCooperativeLevel(mainWindow, plat::soundCoop::Normal) == plat::kOk;
}

bool loadSoundSlot(const char* path, int slot) {
    if (slot < 0 || slot >= kSoundSlots) return false;
    plat::releaseRef(soundSlots[slot]);
    return loadWave(path, slot);
}

void playSound(int slot) {
    if (observer) observer(slot);
    if (slot < 0 || slot >= kSoundSlots || !soundSlots[slot]) return;
    // Results ignored: a buffer whose memory was lost stays silent.
    soundSlots[slot]->setCurrentPosition(0);
    soundSlots[slot]->play(0, 0, 0);
}

void releaseSound() {
    plat::host().note("releaseSound");
    for (plat::SoundBuffer*& buffer : soundSlots) plat::releaseRef(buffer);
    plat::releaseRef(soundDevice);
}

void setSoundObserver(SoundObserver o) {
    observer = o;
}
