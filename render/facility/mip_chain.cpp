#include "render/facility/mip_chain.h"

#include <algorithm>
#include <cstddef>

namespace texload {

uint32_t fullMipCount(uint32_t width, uint32_t height) {
    uint32_t side = width > height ? width : height;
    uint32_t levels = 1;
    while (side > 1) {
        side /= 2;
        ++levels;
    }
    return levels;
}

void boxFilterLevel(const LevelView& src, const LevelView& dst) {
    const uint32_t bytes = bytesPerPixel(src.format);
    // How many source texels each destination texel covers in each direction.
    const uint32_t spanX = src.width > 1 ? 2 : 1;
    const uint32_t spanY = src.height > 1 ? 2 : 1;
    const float weight = 1.0f / static_cast<float>(spanX * spanY);
    for (uint32_t y = 0; y < dst.height; ++y) {
        for (uint32_t x = 0; x < dst.width; ++x) {
            Rgba sum{0, 0, 0, 0};
            for (uint32_t dy = 0; dy < spanY; ++dy) {
                const uint8_t* row = src.row(std::min(y * spanY + dy, src.height - 1));
                for (uint32_t dx = 0; dx < spanX; ++dx) {
                    const Rgba c = decodePixel(
                        src.format, row + size_t{std::min(x * spanX + dx, src.width - 1)} * bytes);
                    sum.r += c.r;
                    sum.g += c.g;
                    sum.b += c.b;
                    sum.a += c.a;
                }
            }
            const Rgba mean{sum.r * weight, sum.g * weight, sum.b * weight, sum.a * weight};
            encodePixel(dst.format, mean, dst.row(y) + size_t{x} * bytes);
        }
    }
}

}  // namespace texload
