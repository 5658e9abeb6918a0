#include "wav.h"

namespace assets {

Bytes encodeWav(const std::vector<std::int16_t>& samples, int sampleRate) {
    const std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    Bytes out;
    out.reserve(44 + dataSize);
    putTag(out, "RIFF");
    put32(out, 36 + dataSize);  // everything after this field
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, sampleRate);
    put32(out, sampleRate * 2);  // bytes per second
    put16(out, 2);               // bytes per sample frame
    put16(out, 16);              // bits per sample
    putTag(out, "data");
    put32(out, dataSize);
    for (std::int16_t s : samples) put16(out, static_cast<std::uint16_t>(s));
    return out;
}

}  // namespace assets
