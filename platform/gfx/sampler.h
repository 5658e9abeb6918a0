#pragma once
// Texture sampling of level 0: addressing (wrap, mirror, clamp, border), point and bilinear
// filtering.
//
// Coordinates are in texels with 16 fraction bits, measured from the level's left (top) edge,
// so texel i spans [i, i + 1) and its centre is i + 0.5, that is u = (i + 0.5) / W.
// Bilinear: the position less half a texel is rounded to 1/256 texel; the four texels around
// it are weighted by the 8-bit fractions, each channel rounded to nearest. A position exactly
// on a texel centre returns that texel unchanged. Point: the texel the position falls in.

#include <cstdint>

#include "platform/gfx/render_states.h"

namespace plat::gfx {

struct Sampler {
    const uint32_t* texels = nullptr;  // 0xAARRGGBB, `width` per row; null: opaque white
    int32_t width = 1, height = 1;
    uint32_t addressU = address::Clamp, addressV = address::Clamp;
    uint32_t border = 0;

    uint32_t point(int64_t s, int64_t t) const {
        if (!texels) return 0xFFFFFFFFu;
        bool outside = false;
        const int32_t i = index(s >> 16, width, addressU, outside);
        const int32_t j = index(t >> 16, height, addressV, outside);
        return outside ? border : texels[static_cast<int64_t>(j) * width + i];
    }

    uint32_t bilinear(int64_t s, int64_t t) const {
        if (!texels) return 0xFFFFFFFFu;
        const int64_t ps = (s - 0x8000 + 0x80) >> 8;  // 1/256 texel, rounded
        const int64_t pt = (t - 0x8000 + 0x80) >> 8;
        const uint32_t fx = static_cast<uint32_t>(ps & 0xFF);
        const uint32_t fy = static_cast<uint32_t>(pt & 0xFF);
        const int64_t i = ps >> 8, j = pt >> 8;
        if (fx == 0 && fy == 0) return texel(i, j);
        const uint32_t c00 = texel(i, j), c10 = texel(i + 1, j);
        const uint32_t c01 = texel(i, j + 1), c11 = texel(i + 1, j + 1);
        const uint32_t w00 = (256 - fx) * (256 - fy), w10 = fx * (256 - fy);
        const uint32_t w01 = (256 - fx) * fy, w11 = fx * fy;
        uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const uint32_t v = ((c00 >> shift) & 0xFF) * w00 + ((c10 >> shift) & 0xFF) * w10 +
                               ((c01 >> shift) & 0xFF) * w01 + ((c11 >> shift) & 0xFF) * w11;
            out |= ((v + 0x8000) >> 16) << shift;
        }
        return out;
    }

    uint32_t texel(int64_t i, int64_t j) const {
        bool outside = false;
        const int32_t x = index(i, width, addressU, outside);
        const int32_t y = index(j, height, addressV, outside);
        return outside ? border : texels[static_cast<int64_t>(y) * width + x];
    }

    static int32_t index(int64_t i, int32_t n, uint32_t mode, bool& outside) {
        switch (mode) {
            case address::Wrap: {
                const int64_t m = i % n;
                return static_cast<int32_t>(m < 0 ? m + n : m);
            }
            case address::Mirror: {
                int64_t m = i % (2 * static_cast<int64_t>(n));
                if (m < 0) m += 2 * static_cast<int64_t>(n);
                return static_cast<int32_t>(m < n ? m : 2 * static_cast<int64_t>(n) - 1 - m);
            }
            case address::Border:
                if (i < 0 || i >= n) {
                    outside = true;
                    return 0;
                }
                return static_cast<int32_t>(i);
            default:  // clamp
                return static_cast<int32_t>(i < 0 ? 0 : (i >= n ? n - 1 : i));
        }
    }
};

}  // namespace plat::gfx
