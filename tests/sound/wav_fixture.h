#pragma once
// Builds RIFF and WAVE files in memory for tests, and writes them to temporary files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace wavfix {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void putId(Bytes& b, const char* id) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(id[i]));
}
inline Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A chunk with its data and pad byte; `declared` overrides the size written in the header.
inline Bytes chunk(const char* id, const Bytes& data, std::optional<uint32_t> declared = {},
                   bool pad = true) {
    Bytes out;
    putId(out, id);
    put32(out, declared.value_or(static_cast<uint32_t>(data.size())));
    out.insert(out.end(), data.begin(), data.end());
    if (pad && (data.size() & 1)) out.push_back(0);
    return out;
}

// A "RIFF" chunk of form type `form` around `body`.
inline Bytes riff(const Bytes& body, const char* form = "WAVE",
                  std::optional<uint32_t> declared = {}) {
    Bytes data;
    putId(data, form);
    data.insert(data.end(), body.begin(), body.end());
    return chunk("RIFF", data, declared);
}

struct Format {
    uint16_t tag = 1;
    uint16_t channels = 1;
    uint32_t rate = 44100;
    uint16_t bits = 16;
};

// The data of a "fmt " chunk: the 16 bytes every PCM file has, plus the extra-size field when
// `withExtra` is set.
inline Bytes fmtData(const Format& f, bool withExtra = true) {
    Bytes b;
    const uint16_t block = static_cast<uint16_t>(f.channels * (f.bits / 8));
    put16(b, f.tag);
    put16(b, f.channels);
    put32(b, f.rate);
    put32(b, f.rate * block);
    put16(b, block);
    put16(b, f.bits);
    if (withExtra) put16(b, 0);
    return b;
}

inline Bytes samples16(std::initializer_list<int16_t> values) {
    Bytes b;
    for (int16_t v : values) put16(b, static_cast<uint16_t>(v));
    return b;
}

// A complete PCM WAVE file: "fmt " (18 bytes) then "data".
inline Bytes wav(const Format& f, const Bytes& sampleBytes) {
    return riff(cat({chunk("fmt ", fmtData(f)), chunk("data", sampleBytes)}));
}

// Writes `bytes` to a fresh file in the test's temporary folder and returns its path. The name
// carries the process id: CTest runs test cases side by side.
inline std::string writeTemp(const Bytes& bytes, const std::string& name) {
    const std::string path =
        testing::TempDir() + "marlovek-" + std::to_string(getpid()) + "-" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr) << path;
    if (!f) return path;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

}  // namespace wavfix
