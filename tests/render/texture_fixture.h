#pragma once
// Small textures with known texels, and pixel comparisons with a tolerance for blends.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/gfx/device.h"

namespace render_test {

// A managed A8R8G8B8 texture of one level whose texel (x, y) is texel(x, y) (0xAARRGGBB).
// Null (with a test failure) when the device refuses it.
template <typename TexelFn>
plat::gfx::Texture* makeTexture(plat::gfx::Device* device, uint32_t width, uint32_t height,
                                TexelFn texel) {
    plat::gfx::Texture* t = nullptr;
    EXPECT_EQ(device->createTexture(width, height, 1, 0, plat::gfx::Format::A8R8G8B8,
                                    plat::gfx::Pool::Managed, &t),
              plat::kOk);
    if (!t) return nullptr;
    plat::gfx::LockedRect locked;
    EXPECT_EQ(t->lockRect(0, locked, nullptr, 0), plat::kOk);
    for (uint32_t y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.bits) +
                                                static_cast<size_t>(y) * locked.pitch);
        for (uint32_t x = 0; x < width; ++x)
            row[x] = texel(static_cast<int>(x), static_cast<int>(y));
    }
    EXPECT_EQ(t->unlockRect(0), plat::kOk);
    return t;
}

inline int channel(uint32_t rgb, int shift) {
    return static_cast<int>((rgb >> shift) & 0xFF);
}

inline std::string hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06X", v & 0xFFFFFFu);
    return buf;
}

// Whether every channel of `actual` (0x00RRGGBB) is within `tolerance` of the expected channel.
inline ::testing::AssertionResult near(uint32_t actual, double r, double g, double b,
                                       int tolerance = 1) {
    const double want[3] = {r, g, b};
    const int shifts[3] = {16, 8, 0};
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(channel(actual, shifts[i]) - want[i]) > tolerance)
            return ::testing::AssertionFailure()
                   << "pixel " << hex(actual) << ", wanted (" << r << ", " << g << ", " << b << ")";
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult near(uint32_t actual, uint32_t expected, int tolerance = 1) {
    return near(actual, channel(expected, 16), channel(expected, 8), channel(expected, 0),
                tolerance);
}

}  // namespace render_test
