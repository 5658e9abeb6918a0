#include "asset_files.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace asset_test {

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<Image> decodeBmp(const Bytes& file, std::string* why) {
    auto fail = [why](const char* reason) {
        *why = reason;
        return std::nullopt;
    };
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return fail("not a BMP");
    if (le32(file, 2) != file.size()) return fail("stored file size differs from the file's");
    const std::uint32_t headerSize = le32(file, 14);
    if (headerSize < 40) return fail("information header too small");
    const std::uint32_t offset = 14 + headerSize;
    if (le32(file, 10) != offset) return fail("pixels do not follow the header");
    Image img;
    img.width = static_cast<std::int32_t>(le32(file, 18));
    const std::int32_t height = static_cast<std::int32_t>(le32(file, 22));
    img.height = height < 0 ? -height : height;
    img.bitsPerPixel = static_cast<int>(le16(file, 28));
    const std::uint32_t compression = le32(file, 30);
    if (le16(file, 26) != 1) return fail("planes must be 1");
    if (img.width <= 0 || img.height <= 0) return fail("empty image");
    if (img.bitsPerPixel == 24 && compression != 0) return fail("24-bit image is compressed");
    if (img.bitsPerPixel == 32 && (compression != 3 || headerSize < 56 ||
                                   le32(file, 54) != 0x00FF0000 || le32(file, 58) != 0x0000FF00 ||
                                   le32(file, 62) != 0x000000FF || le32(file, 66) != 0xFF000000))
        return fail("32-bit image without BGRA bit-field masks");
    if (img.bitsPerPixel != 24 && img.bitsPerPixel != 32) return fail("unsupported bit depth");
    const int bytesPerPixel = img.bitsPerPixel / 8;
    const std::size_t stride = (static_cast<std::size_t>(img.width) * bytesPerPixel + 3) / 4 * 4;
    if (file.size() < offset + stride * img.height) return fail("pixel data truncated");
    img.pixels.resize(static_cast<std::size_t>(img.width) * img.height);
    for (int row = 0; row < img.height; ++row) {
        const int y = height < 0 ? row : img.height - 1 - row;
        const std::uint8_t* p = file.data() + offset + stride * row;
        for (int x = 0; x < img.width; ++x, p += bytesPerPixel)
            img.pixels[y * img.width + x] = {p[2], p[1], p[0],
                                             bytesPerPixel == 4 ? p[3] : std::uint8_t{255}};
    }
    return img;
}

std::optional<Wav> decodeWav(const Bytes& file, std::string* why) {
    auto fail = [why](const char* reason) {
        *why = reason;
        return std::nullopt;
    };
    auto tagAt = [&file](std::size_t at, const char* tag) {
        return std::equal(tag, tag + 4, file.begin() + static_cast<std::ptrdiff_t>(at));
    };
    if (file.size() < 12 || !tagAt(0, "RIFF") || !tagAt(8, "WAVE")) return fail("not RIFF/WAVE");
    if (le32(file, 4) != file.size() - 8) return fail("RIFF size does not match the file");
    Wav wav;
    bool haveFmt = false, haveData = false;
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const std::uint32_t size = le32(file, at + 4);
        const std::size_t body = at + 8;
        if (body + size > file.size()) return fail("chunk runs past the end of the file");
        if (tagAt(at, "fmt ")) {
            if (size < 16) return fail("fmt chunk too small");
            wav.fmtSize = size;
            wav.format = le16(file, body);
            wav.channels = le16(file, body + 2);
            wav.sampleRate = le32(file, body + 4);
            wav.byteRate = le32(file, body + 8);
            wav.blockAlign = le16(file, body + 12);
            wav.bitsPerSample = le16(file, body + 14);
            haveFmt = true;
        } else if (tagAt(at, "data")) {
            if (!haveFmt) return fail("data chunk before fmt chunk");
            if (wav.bitsPerSample != 16) return fail("only 16-bit samples are decoded here");
            for (std::size_t i = body; i + 1 < body + size; i += 2)
                wav.samples.push_back(static_cast<std::int16_t>(le16(file, i)));
            haveData = true;
        }
        at = body + size + (size & 1);
    }
    if (!haveFmt) return fail("no fmt chunk");
    if (!haveData) return fail("no data chunk");
    return wav;
}

}  // namespace asset_test
