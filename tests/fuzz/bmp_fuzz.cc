// Fuzzes the bitmap reader, then takes what it accepts through the colour key, the format
// choice, the copy into a top level and one box-filtered level below it.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/facility/bmp_reader.h"
#include "render/facility/format_choice.h"
#include "render/facility/mip_chain.h"
#include "render/facility/texel_copy.h"

using namespace texload;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedImage image;
    if (readBmp(data, size, image) != kOk) return 0;
    if (image.width == 0 || image.height == 0 ||
        image.pixels.size() < size_t{image.pitch} * image.height)
        __builtin_trap();
    const bool alpha = formatInfo(image.format).palette && keyPalette(image.palette, 0xFF000000);
    const Format format = textureFormatFor(image.format, true, alpha);
    // A level of at most 64 x 64, so that large images are still cut and the run stays fast.
    const uint32_t w = image.width < 64 ? image.width + 1 : 64;
    const uint32_t h = image.height < 64 ? image.height : 64;
    const uint32_t bpp = bytesPerPixel(format);
    std::vector<uint8_t> top(size_t{w} * h * bpp),
        below(size_t{mipSize(w, 1)} * mipSize(h, 1) * bpp);
    const LevelView level{top.data(), w, h, w * bpp, format};
    copyImageToLevel(image, 0xFF000000, level);
    boxFilterLevel(
        level, LevelView{below.data(), mipSize(w, 1), mipSize(h, 1), mipSize(w, 1) * bpp, format});
    return 0;
}
