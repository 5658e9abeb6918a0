#include "render/facility/texture_fit.h"

#include <algorithm>

#include "render/facility/mip_chain.h"

namespace texload {

namespace gfx = plat::gfx;

uint32_t powerOfTwoAtLeast(uint32_t n) {
    uint32_t p = 1;
    while (p < n && p < (1u << 31)) p <<= 1;
    return p;
}

namespace {

// A reported maximum of 0 sets no limit.
uint32_t limitOf(uint32_t reported) {
    return reported ? reported : UINT32_MAX;
}

uint32_t powerOfTwoWithin(uint32_t n, uint32_t max) {
    uint32_t p = powerOfTwoAtLeast(n);
    while (p > max && p > 1) p >>= 1;
    return p;
}

}  // namespace

TextureSize fitToDevice(uint32_t width, uint32_t height, uint32_t levels,
                        const gfx::DeviceCaps& caps) {
    const uint32_t maxW = limitOf(caps.maxTextureWidth);
    const uint32_t maxH = limitOf(caps.maxTextureHeight);
    uint64_t w = std::min(std::max(width, 1u), maxW);
    uint64_t h = std::min(std::max(height, 1u), maxH);
    const uint64_t ratio =
        (caps.textureCaps & gfx::textureCaps::SquareOnly) ? 1 : caps.maxTextureAspectRatio;
    if (ratio) {
        w = std::min(w, h * ratio);
        h = std::min(h, w * ratio);
    }
    TextureSize size{static_cast<uint32_t>(w), static_cast<uint32_t>(h), 1};
    if (caps.textureCaps & gfx::textureCaps::Pow2) {
        size.width = powerOfTwoWithin(size.width, maxW);
        size.height = powerOfTwoWithin(size.height, maxH);
    }
    if (caps.textureCaps & gfx::textureCaps::MipMap) {
        const uint32_t chain = fullMipCount(size.width, size.height);
        size.levels = (levels == 0 || levels > chain) ? chain : levels;
    }
    return size;
}

}  // namespace texload
