#pragma once
// Texture sampling of level 0: addressing (wrap, mirror, clamp, border), point and bilinear
// filtering.
//
// Coordinates are in texels with 16 fraction bits, measured from the level's left (top) edge,
// so texel i spans [i, i + 1) and its centre is i + 0.5, that is u = (i + 0.5) / W.
// Bilinear: the position less half a texel is rounded to 1/256 texel; the two texels on each
// axis around it are weighted by the 8-bit fraction, each channel rounded to nearest. A
// position exactly on a texel centre returns that texel unchanged. Point: the texel the
// position falls in.
//
// A sample is taken in two steps: each axis gives a `Tap` (the texels and the weight), and
// `fetch` combines a horizontal and a vertical tap. Rectangles compute their taps once per
// column and row; triangles per pixel; the result is the same function of the coordinates.

#include <cstdint>

#include "platform/gfx/render_states.h"

namespace plat::gfx {

struct Tap {
    int32_t i0 = 0, i1 = 0;           // texel indices after addressing
    uint32_t f = 0;                   // weight of i1, 0..255
    bool out0 = false, out1 = false;  // beyond the texture with border addressing
};

struct Sampler {
    const uint32_t* texels = nullptr;  // 0xAARRGGBB, `width` per row; null: opaque white
    int32_t width = 1, height = 1;
    uint32_t addressU = address::Clamp, addressV = address::Clamp;
    uint32_t border = 0;

    [[gnu::always_inline]] Tap tapU(int64_t s, bool linear) const {
        return tap(s, linear, width, addressU);
    }
    [[gnu::always_inline]] Tap tapV(int64_t t, bool linear) const {
        return tap(t, linear, height, addressV);
    }

    [[gnu::always_inline]] uint32_t fetch(const Tap& u, const Tap& v) const {
        if (!texels) return 0xFFFFFFFFu;
        const uint32_t* row0 = texels + static_cast<int64_t>(v.i0) * width;
        const uint32_t c00 = u.out0 || v.out0 ? border : row0[u.i0];
        if (u.f == 0 && v.f == 0) return c00;
        const uint32_t* row1 = texels + static_cast<int64_t>(v.i1) * width;
        // A weight of 0 makes the far texel's value irrelevant: it is not read.
        const uint32_t c10 = u.f == 0 ? c00 : (u.out1 || v.out0 ? border : row0[u.i1]);
        const uint32_t c01 = v.f == 0 ? c00 : (u.out0 || v.out1 ? border : row1[u.i0]);
        const uint32_t c11 = u.f == 0   ? c01
                             : v.f == 0 ? c10
                                        : (u.out1 || v.out1 ? border : row1[u.i1]);
        // Channel c of the result: round((c00 (256 - fu) (256 - fv) + c10 fu (256 - fv) +
        // c01 (256 - fu) fv + c11 fu fv) / 65536), computed in 16-bit lanes for the horizontal
        // step (at most 255 x 256 each) and 32-bit lanes for the vertical one, both exact.
        const uint64_t h0 = spread(c00) * (256 - u.f) + spread(c10) * u.f;
        const uint64_t h1 = spread(c01) * (256 - u.f) + spread(c11) * u.f;
        constexpr uint64_t kLanes = 0x0000FFFF0000FFFFull, kHalf = 0x0000800000008000ull;
        const uint64_t even = ((h0 & kLanes) * (256 - v.f) + (h1 & kLanes) * v.f + kHalf) >> 16;
        const uint64_t odd =
            (((h0 >> 16) & kLanes) * (256 - v.f) + ((h1 >> 16) & kLanes) * v.f + kHalf) >> 16;
        return static_cast<uint32_t>((even & 0xFF) | (odd & 0xFF) << 8 | (even >> 32 & 0xFF) << 16 |
                                     (odd >> 32 & 0xFF) << 24);
    }

    // The four channels of 0xAARRGGBB in 16-bit lanes.
    static uint64_t spread(uint32_t c) {
        uint64_t x = c;
        x = (x | x << 16) & 0x0000FFFF0000FFFFull;
        return (x | x << 8) & 0x00FF00FF00FF00FFull;
    }

    [[gnu::always_inline]] uint32_t sample(int64_t s, int64_t t, bool linear) const {
        return fetch(tapU(s, linear), tapV(t, linear));
    }

    [[gnu::always_inline]] static Tap tap(int64_t c, bool linear, int32_t n, uint32_t mode) {
        Tap out;
        if (!linear) {
            out.i0 = out.i1 = index(c >> 16, n, mode, out.out0);
            out.out1 = out.out0;
            return out;
        }
        const int64_t p = (c - 0x8000 + 0x80) >> 8;  // 1/256 texel, rounded
        out.f = static_cast<uint32_t>(p & 0xFF);
        out.i0 = index(p >> 8, n, mode, out.out0);
        out.i1 = index((p >> 8) + 1, n, mode, out.out1);
        return out;
    }

    static int32_t index(int64_t i, int32_t n, uint32_t mode, bool& outside) {
        switch (mode) {
            case address::Wrap: {
                const int64_t m = i % n;
                return static_cast<int32_t>(m < 0 ? m + n : m);
            }
            case address::Mirror: {
                const int64_t period = 2 * static_cast<int64_t>(n);
                int64_t m = i % period;
                if (m < 0) m += period;
                return static_cast<int32_t>(m < n ? m : period - 1 - m);
            }
            case address::Border:
                outside = i < 0 || i >= n;
                return outside ? 0 : static_cast<int32_t>(i);
            default:  // clamp
                return static_cast<int32_t>(i < 0 ? 0 : (i >= n ? n - 1 : i));
        }
    }
};

}  // namespace plat::gfx
