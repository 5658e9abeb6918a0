#pragma once
// Conversion of PCM sample data, as a WAVE file holds it, to the mixer's output format: signed
// 16-bit stereo at the output rate. Eight-bit samples are unsigned (128 is silence), sixteen-bit
// ones signed; a mono sample goes to both channels; other rates are resampled by linear
// interpolation between neighbouring input frames (the last frame is held past the end).
// Integer arithmetic throughout, so the result is the same on every machine.

#include <cstdint>

#include "platform/audio/wave_format.h"

namespace plat {

// Rates a buffer may have (the range a sound card's frequency control covers).
constexpr uint32_t kMinSampleRate = 100;
constexpr uint32_t kMaxSampleRate = 200000;

// Whether the converter takes `format`: PCM, one or two channels of 8 or 16 bits, a block
// alignment of channels x bytes per sample, and a rate within the range above.
bool convertiblePcm(const WaveFormat& format);

// The number of output frames `bytes` bytes of `format` become at `outputRate`. A trailing
// partial frame is dropped.
uint64_t convertedFrames(const WaveFormat& format, uint64_t bytes, uint32_t outputRate);

// Converts `bytes` bytes into `out`, which holds convertedFrames(...) interleaved stereo frames.
// `format` must be convertible.
void convertPcm(const WaveFormat& format, const uint8_t* data, uint64_t bytes, uint32_t outputRate,
                int16_t* out);

}  // namespace plat
