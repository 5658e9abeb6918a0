// Reading the committed asset files and decoding the two formats they use, kept small and
// independent of the generators so that the tests check the files, not the code that made them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace asset_test {

using Bytes = std::vector<std::uint8_t>;

inline std::filesystem::path resFolder() {
    return std::filesystem::path(MARLOVEK_SOURCE_DIR) / "res";
}

Bytes readFile(const std::filesystem::path& path);

inline std::uint32_t le16(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}
inline std::uint32_t le32(const Bytes& b, std::size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}

struct Pixel {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Pixel&) const = default;
    bool isBlack() const { return r == 0 && g == 0 && b == 0; }
};

struct Image {
    int width = 0, height = 0;
    int bitsPerPixel = 0;
    std::vector<Pixel> pixels;  // top row first
    Pixel at(int x, int y) const { return pixels[y * width + x]; }
};

// Decodes an uncompressed 24-bit BMP, or a 32-bit one with bit-field masks, reading the pixel rows
// right after the information header (the game's reader ignores the stored pixel offset). Returns
// nothing, with the reason in *why, for anything else.
std::optional<Image> decodeBmp(const Bytes& file, std::string* why);

struct Wav {
    std::uint32_t fmtSize = 0, format = 0, channels = 0, sampleRate = 0, byteRate = 0;
    std::uint32_t blockAlign = 0, bitsPerSample = 0;
    std::vector<std::int16_t> samples;  // 16-bit data, channels interleaved
};

// Walks the RIFF/WAVE chunks; fails, with the reason, on a missing or truncated "fmt " or "data"
// chunk or a RIFF size that does not match the file.
std::optional<Wav> decodeWav(const Bytes& file, std::string* why);

}  // namespace asset_test
