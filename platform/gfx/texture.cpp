#include "platform/gfx/texture.h"

#include <cstddef>
#include <cstring>
#include <new>

#include "platform/gfx/device.h"
#include "platform/gfx/result_codes.h"

namespace plat::gfx {

Texture::Texture(Device* device, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                 Format format, Pool pool)
    : device_(device),
      width_(width),
      height_(height),
      levelCount_(levels),
      usage_(usage),
      format_(format),
      pool_(pool) {
    device_->addRef();
    if (pool_ == Pool::Default) device_->defaultPoolObjectCreated();
}

Texture::~Texture() {
    if (pool_ == Pool::Default) device_->defaultPoolObjectDestroyed();
    device_->release();
}

bool Texture::allocate() {
    size_t total = 0;
    for (uint32_t level = 0; level < levelCount_; ++level) {
        offsets_[level] = static_cast<uint32_t>(total);
        total += static_cast<size_t>(levelPitch(level)) * levelHeight(level);
    }
    try {
        storage_.assign(total, 0);
        if (format_ != Format::A8R8G8B8 && pool_ != Pool::SystemMemory) {
            sampleCopy_.assign(static_cast<size_t>(width_) * height_, 0);
            refreshSampleCopy();
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

uint32_t Texture::levelWidth(uint32_t level) const {
    const uint32_t w = width_ >> level;
    return w ? w : 1;
}

uint32_t Texture::levelHeight(uint32_t level) const {
    const uint32_t h = height_ >> level;
    return h ? h : 1;
}

uint32_t Texture::levelPitch(uint32_t level) const {
    // Rows start on 4-byte boundaries.
    const uint32_t bytes = levelWidth(level) * static_cast<uint32_t>(bytesPerPixel(format_));
    return (bytes + 3) & ~3u;
}

Result Texture::getLevelDesc(uint32_t level, LevelDesc& out) const {
    if (level >= levelCount_) return kInvalidCall;
    out.format = format_;
    out.usage = usage_;
    out.pool = pool_;
    out.width = levelWidth(level);
    out.height = levelHeight(level);
    return kOk;
}

Result Texture::lockRect(uint32_t level, LockedRect& out, const Rect* rect, uint32_t flags) {
    (void)flags;
    if (level >= levelCount_) return kInvalidCall;
    if (pool_ == Pool::Default && !(usage_ & usage::Dynamic)) return kInvalidCall;
    if (lockedMask_ & (1u << level)) return kInvalidCall;
    const int32_t w = static_cast<int32_t>(levelWidth(level));
    const int32_t h = static_cast<int32_t>(levelHeight(level));
    Rect r{0, 0, w, h};
    if (rect) {
        r = *rect;
        if (r.left < 0 || r.top < 0 || r.right > w || r.bottom > h || r.left >= r.right ||
            r.top >= r.bottom)
            return kInvalidCall;
    }
    lockedMask_ |= 1u << level;
    out.pitch = static_cast<int32_t>(levelPitch(level));
    out.bits = levelBits(level) + static_cast<size_t>(r.top) * levelPitch(level) +
               static_cast<size_t>(r.left) * bytesPerPixel(format_);
    return kOk;
}

Result Texture::unlockRect(uint32_t level) {
    if (level >= levelCount_ || !(lockedMask_ & (1u << level))) return kInvalidCall;
    lockedMask_ &= ~(1u << level);
    if (level == 0) refreshSampleCopy();
    return kOk;
}

Result Texture::getDevice(Device** out) {
    if (!out) return kInvalidCall;
    device_->addRef();
    *out = device_;
    return kOk;
}

const uint32_t* Texture::samplePixels() const {
    if (format_ == Format::A8R8G8B8) return reinterpret_cast<const uint32_t*>(storage_.data());
    return sampleCopy_.data();
}

void Texture::refreshSampleCopy() {
    if (sampleCopy_.empty()) return;
    const int bpp = bytesPerPixel(format_);
    for (uint32_t y = 0; y < height_; ++y) {
        const uint8_t* row = storage_.data() + static_cast<size_t>(y) * levelPitch(0);
        uint32_t* out = sampleCopy_.data() + static_cast<size_t>(y) * width_;
        for (uint32_t x = 0; x < width_; ++x) out[x] = decodePixel(format_, row + x * bpp);
    }
}

void Texture::copyLevelsFrom(const Texture& source) {
    for (uint32_t level = 0; level < levelCount_; ++level) {
        const size_t bytes = static_cast<size_t>(levelPitch(level)) * levelHeight(level);
        std::memcpy(levelBits(level), source.storage_.data() + source.offsets_[level], bytes);
    }
    refreshSampleCopy();
}

}  // namespace plat::gfx
