#include "render/facility/text_renderer.h"

#include <new>

#include "platform/gfx/graphics_system.h"
#include "render/facility/sprite_batch.h"
#include "render/facility/texture_fit.h"

namespace gfx = plat::gfx;
using plat::Result;

namespace {

// Every device's renderer, most recent first.
TextRenderer* renderers = nullptr;

}  // namespace

TextRenderer::TextRenderer(gfx::Device* device) : device_(device) {
    device_->addRef();
    next_ = renderers;
    renderers = this;
}

TextRenderer::~TextRenderer() {
    if (begun_) end();
    plat::releaseRef(savedState_);
    plat::releaseRef(textState_);
    for (gfx::Texture*& t : tiles_) plat::releaseRef(t);
    plat::releaseRef(batch_);
    plat::releaseRef(device_);
    for (TextRenderer** link = &renderers; *link; link = &(*link)->next_) {
        if (*link == this) {
            *link = next_;
            break;
        }
    }
}

Result TextRenderer::acquire(gfx::Device* device, TextRenderer** out) {
    *out = nullptr;
    for (TextRenderer* r = renderers; r; r = r->next_) {
        if (r->device_ == device) {
            r->addRef();
            *out = r;
            return plat::kOk;
        }
    }
    auto* made = new (std::nothrow) TextRenderer(device);
    if (!made) return plat::kOutOfMemory;
    const Result r = made->create();
    if (plat::failed(r)) {
        made->release();
        return r;
    }
    *out = made;
    return plat::kOk;
}

void TextRenderer::release() {
    if (--refs_ == 0) delete this;
}

Result TextRenderer::create() {
    gfx::DeviceCaps caps;
    Result r = device_->getDeviceCaps(caps);
    if (plat::failed(r)) return r;
    dynamic_ = (caps.caps2 & gfx::caps2::DynamicTextures) != 0;
    const uint32_t usage = dynamic_ ? gfx::usage::Dynamic : 0;
    const gfx::Pool pool = dynamic_ ? gfx::Pool::Default : gfx::Pool::Managed;

    // Tiles want A8R8G8B8; a device without it gets the nearest format it takes, as textures
    // loaded from files do.
    texload::Format fitted = texload::Format::Unknown;
    r = texload::fitFormat(device_, usage, texload::Format::A8R8G8B8, fitted);
    if (plat::failed(r)) return r;
    tileFormat_ = texload::toDevice(fitted);
    const texload::TextureSize size = texload::fitToDevice(64, 16, 1, caps);
    tileWidth_ = size.width;
    tileHeight_ = size.height;
    for (int i = 0; i < tileTextureCount(); ++i) {
        r = device_->createTexture(tileWidth_, tileHeight_, 1, usage, tileFormat_, pool,
                                   &tiles_[i]);
        if (plat::failed(r)) return r;
    }

    r = createSpriteBatch(device_, &batch_);
    if (plat::failed(r)) return r;

    if (!surface_.createBitmap(kInitialSurfaceSide, kInitialSurfaceSide)) return plat::kOutOfMemory;
    surface_.setBackgroundMode(plat::text::BackgroundMode::Opaque);
    surface_.setBackgroundColour(0x000000);
    surface_.setTextColour(0xFFFFFF);
    return plat::kOk;
}

bool TextRenderer::fitSurface(uint32_t width, uint32_t height) {
    uint64_t w = static_cast<uint64_t>(surface_.width());
    uint64_t h = static_cast<uint64_t>(surface_.height());
    if (w >= width && h >= height) return true;
    while (w < width) w += w / 2;
    while (h < height) h += h / 2;
    if (w > plat::text::TextSurface::kMaxSide || h > plat::text::TextSurface::kMaxSide)
        return false;
    return surface_.createBitmap(static_cast<int>(w), static_cast<int>(h));
}

Result TextRenderer::recordStateBlocks() {
    // Both blocks hold the one setting text needs: no depth test.
    for (gfx::StateBlock** block : {&savedState_, &textState_}) {
        Result r = device_->beginStateBlock();
        if (plat::failed(r)) return r;
        device_->setRenderState(gfx::RenderState::ZEnable, 0);
        r = device_->endStateBlock(block);
        if (plat::failed(r)) return r;
    }
    return plat::kOk;
}

Result TextRenderer::begin() {
    if (!savedState_ || !textState_) {
        plat::releaseRef(savedState_);
        plat::releaseRef(textState_);
        const Result r = recordStateBlocks();
        if (plat::failed(r)) return r;
    }
    const Result r = batch_->begin();
    if (plat::failed(r)) return r;
    savedState_->capture();
    textState_->apply();
    begun_ = true;
    return plat::kOk;
}

Result TextRenderer::end() {
    if (!begun_) return gfx::kInvalidCall;
    savedState_->apply();
    begun_ = false;
    return batch_->end();
}

Result TextRenderer::upload(gfx::Texture* texture, int x, int y, int width, int height) {
    gfx::LockedRect locked;
    const gfx::Rect area{0, 0, width, height};
    const Result r =
        dynamic_ ? texture->lockRect(0, locked, nullptr, gfx::lock::Discard | gfx::lock::NoSysLock)
                 : texture->lockRect(0, locked, &area, gfx::lock::NoSysLock);
    if (plat::failed(r)) return r;
    const int bytes = gfx::bytesPerPixel(tileFormat_);
    for (int row = 0; row < height; ++row) {
        const uint32_t* src =
            surface_.pixels() + static_cast<size_t>(y + row) * surface_.width() + x;
        uint8_t* dst =
            static_cast<uint8_t*>(locked.bits) + static_cast<ptrdiff_t>(row) * locked.pitch;
        if (tileFormat_ == gfx::Format::A8R8G8B8) {
            auto* texels = reinterpret_cast<uint32_t*>(dst);
            for (int i = 0; i < width; ++i) texels[i] = (src[i] << 24) | 0xFFFFFFu;
        } else {
            for (int i = 0; i < width; ++i)
                gfx::encodePixel(tileFormat_, (src[i] << 24) | 0xFFFFFFu, dst + i * bytes);
        }
    }
    return texture->unlockRect(0);
}

Result TextRenderer::drawTile(int x, int y, int width, int height, float left, float top,
                              uint32_t colour) {
    gfx::Texture* texture = tiles_[dynamic_ ? 0 : nextTile_];
    Result r = upload(texture, x, y, width, height);
    if (plat::failed(r)) return r;
    // Only the texels just written are drawn: the rest of the texture holds older tiles (or,
    // after a discarding lock, nothing defined).
    const gfx::Rect source{0, 0, width, height};
    const SpriteVector translation{left, top};
    r = batch_->draw(texture, &source, nullptr, nullptr, 0.0f, &translation, colour);
    if (!dynamic_) nextTile_ = (nextTile_ + 1) % kManagedTiles;
    return r;
}
