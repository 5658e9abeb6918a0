#pragma once
// The format block of a WAVE file: 18 bytes, all fields little-endian.

#include <cstdint>

namespace plat {

constexpr uint16_t kWaveFormatPcm = 1;
constexpr int kWaveFormatBytes = 18;

struct WaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t extraSize = 0;  // bytes of format-specific data after the block; unused for PCM
};

// Decodes the 18 bytes as they lie in the file.
inline WaveFormat waveFormatFromBytes(const uint8_t b[kWaveFormatBytes]) {
    auto u16 = [b](int i) { return static_cast<uint16_t>(b[i] | b[i + 1] << 8); };
    auto u32 = [u16](int i) { return static_cast<uint32_t>(u16(i)) | uint32_t{u16(i + 2)} << 16; };
    WaveFormat f;
    f.formatTag = u16(0);
    f.channels = u16(2);
    f.samplesPerSec = u32(4);
    f.avgBytesPerSec = u32(8);
    f.blockAlign = u16(12);
    f.bitsPerSample = u16(14);
    f.extraSize = u16(16);
    return f;
}

}  // namespace plat
