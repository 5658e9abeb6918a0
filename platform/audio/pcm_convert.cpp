#include "platform/audio/pcm_convert.h"

namespace plat {
namespace {

// Sample `channel` of input frame `frame` as a signed 16-bit value.
int32_t sampleAt(const WaveFormat& f, const uint8_t* data, uint64_t frame, int channel) {
    const uint8_t* p =
        data + frame * f.blockAlign + static_cast<uint64_t>(channel) * (f.bitsPerSample / 8);
    if (f.bitsPerSample == 8) return (static_cast<int32_t>(p[0]) - 128) * 256;
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
}

}  // namespace

bool convertiblePcm(const WaveFormat& f) {
    if (f.formatTag != kWaveFormatPcm) return false;
    if (f.channels != 1 && f.channels != 2) return false;
    if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return false;
    if (f.blockAlign != f.channels * (f.bitsPerSample / 8)) return false;
    return f.samplesPerSec >= kMinSampleRate && f.samplesPerSec <= kMaxSampleRate;
}

uint64_t convertedFrames(const WaveFormat& f, uint64_t bytes, uint32_t outputRate) {
    if (f.blockAlign == 0 || f.samplesPerSec == 0) return 0;
    const uint64_t frames = bytes / f.blockAlign;
    return (frames * outputRate + f.samplesPerSec - 1) / f.samplesPerSec;
}

void convertPcm(const WaveFormat& f, const uint8_t* data, uint64_t bytes, uint32_t outputRate,
                int16_t* out) {
    const uint64_t inFrames = bytes / f.blockAlign;
    const uint64_t outFrames = convertedFrames(f, bytes, outputRate);
    const uint64_t inRate = f.samplesPerSec;
    const int right = f.channels == 2 ? 1 : 0;
    for (uint64_t j = 0; j < outFrames; ++j) {
        // Output frame j lies at input position j * inRate / outputRate.
        const uint64_t scaled = j * inRate;
        const uint64_t i = scaled / outputRate;
        const int64_t frac = static_cast<int64_t>(scaled % outputRate);
        const uint64_t next = i + 1 < inFrames ? i + 1 : i;
        for (int c = 0; c < 2; ++c) {
            const int channel = c == 0 ? 0 : right;
            const int64_t a = sampleAt(f, data, i, channel);
            const int64_t b = sampleAt(f, data, next, channel);
            out[j * 2 + c] = static_cast<int16_t>(a + (b - a) * frac / outputRate);
        }
    }
}

}  // namespace plat
