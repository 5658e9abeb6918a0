// Writes 16-bit mono PCM as a RIFF/WAVE file with a 16-byte "fmt " chunk and a "data" chunk.
#pragma once

#include <cstdint>
#include <vector>

#include "bytes.h"

namespace assets {

Bytes encodeWav(const std::vector<std::int16_t>& samples, int sampleRate);

}  // namespace assets
