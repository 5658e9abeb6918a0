#include "tools/replay/wav_writer.h"

namespace replay {
namespace {

void put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void header(uint8_t out[44], int rate, uint32_t dataBytes) {
    const uint16_t channels = 2, bits = 16;
    const uint16_t block = channels * bits / 8;
    const char* ids = "RIFF";
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(ids[i]);
    put32(out + 4, 36 + dataBytes);
    const char* wave = "WAVEfmt ";
    for (int i = 0; i < 8; ++i) out[8 + i] = static_cast<uint8_t>(wave[i]);
    put32(out + 16, 16);
    put16(out + 20, 1);
    put16(out + 22, channels);
    put32(out + 24, static_cast<uint32_t>(rate));
    put32(out + 28, static_cast<uint32_t>(rate) * block);
    put16(out + 32, block);
    put16(out + 34, bits);
    const char* data = "data";
    for (int i = 0; i < 4; ++i) out[36 + i] = static_cast<uint8_t>(data[i]);
    put32(out + 40, dataBytes);
}

}  // namespace

bool WavWriter::open(const std::string& path, int sampleRate) {
    close();
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) return false;
    rate_ = sampleRate;
    dataBytes_ = 0;
    uint8_t h[44];
    header(h, rate_, 0);
    return std::fwrite(h, 1, sizeof h, file_) == sizeof h;
}

void WavWriter::write(const int16_t* interleaved, int frames) {
    if (!file_ || frames <= 0) return;
    uint8_t bytes[4];
    for (int i = 0; i < frames * 2; ++i) {
        put16(bytes, static_cast<uint16_t>(interleaved[i]));
        std::fwrite(bytes, 1, 2, file_);
    }
    dataBytes_ += static_cast<uint32_t>(frames) * 4;
}

bool WavWriter::close() {
    if (!file_) return true;
    uint8_t h[44];
    header(h, rate_, dataBytes_);
    bool ok = std::fseek(file_, 0, SEEK_SET) == 0 && std::fwrite(h, 1, sizeof h, file_) == sizeof h;
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    return ok;
}

}  // namespace replay
