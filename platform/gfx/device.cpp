#include "platform/gfx/device.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "platform/gfx/rasteriser.h"
#include "platform/gfx/state_block.h"
#include "platform/host.h"
#include "platform/window.h"

namespace plat::gfx {
namespace {

constexpr uint32_t kMaxBackBufferSide = 4096;

bool isBackBufferFormat(Format f) {
    return f == Format::X8R8G8B8 || f == Format::R5G6B5;
}

}  // namespace

Device::Device(GraphicsSystem* system, DeviceType type, Window* focusWindow, uint32_t behaviour)
    : system_(system) {
    system_->addRef();
    creation_ = CreationParameters{type, focusWindow, behaviour};
}

Device::~Device() {
    for (int stage = 0; stage < kMaxStages; ++stage) releaseRef(state_.textures[stage]);
    if (recording_) releaseRef(recording_);
    delete rasteriser_;
    if (!windowed_) host().setFullscreen(false);
    host().closePresenter();
    system_->release();
}

Result Device::configure(PresentParams& params) {
    DisplayMode display;
    if (failed(system_->getAdapterDisplayMode(display))) display.format = Format::X8R8G8B8;
    if (params.windowed && params.backBufferFormat == Format::Unknown)
        params.backBufferFormat = display.format;
    if (params.backBufferWidth == 0 || params.backBufferHeight == 0 ||
        params.backBufferWidth > kMaxBackBufferSide ||
        params.backBufferHeight > kMaxBackBufferSide || params.backBufferCount > 1 ||
        params.multiSampleType != 0 || !isBackBufferFormat(params.backBufferFormat) ||
        (params.windowed && params.fullScreenRefreshRate != 0))
        return kInvalidCall;
    if (!rasteriser_) {
        rasteriser_ = new (std::nothrow) Rasteriser();
        if (!rasteriser_) return kOutOfMemory;
    }
    if (!rasteriser_->resize(params.backBufferWidth, params.backBufferHeight,
                             params.backBufferFormat))
        return kOutOfMemory;
    if (params.backBufferCount == 0) params.backBufferCount = 1;
    width_ = params.backBufferWidth;
    height_ = params.backBufferHeight;
    backFormat_ = params.backBufferFormat;
    if (windowed_ != params.windowed || !params.windowed) host().setFullscreen(!params.windowed);
    windowed_ = params.windowed;
    for (uint32_t stage = 0; stage < kMaxStages; ++stage) bindTexture(stage, nullptr);
    setDefaultPipelineState(state_, width_, height_);
    inScene_ = false;
    loss_ = Loss::None;
    deactivationsSeen_ = deactivationCount();
    return kOk;
}

bool Device::lost() {
    // A windowed device is never lost to the background, but a refused reset leaves any device
    // needing one, so that the caller sees the failure and tries again.
    if (windowed_) return loss_ == Loss::NeedsReset;
    if (loss_ == Loss::None && (!applicationActive() || deactivationCount() != deactivationsSeen_))
        loss_ = Loss::Lost;
    if (loss_ == Loss::Lost && applicationActive()) loss_ = Loss::NeedsReset;
    return loss_ != Loss::None;
}

Result Device::testCooperativeLevel() {
    if (!lost()) return kOk;
    return loss_ == Loss::Lost ? kDeviceLost : kDeviceNotReset;
}

Result Device::reset(PresentParams& params) {
    if (lost() && loss_ == Loss::Lost) return kDeviceLost;
    if (recording_ || defaultPoolObjects_ > 0) {
        // Objects of the old device memory are still alive: the device stays unusable until a
        // reset succeeds.
        loss_ = Loss::NeedsReset;
        return kInvalidCall;
    }
    const Result r = configure(params);
    if (failed(r)) loss_ = Loss::NeedsReset;
    return r;
}

Result Device::present() {
    if (lost() || inScene_) return lost() ? kDeviceLost : kInvalidCall;
    FrameView frame;
    frame.pixels = rasteriser_->pixels();
    frame.width = static_cast<int>(width_);
    frame.height = static_cast<int>(height_);
    frame.pitch = rasteriser_->pitch();
    frame.format = backFormat_ == Format::R5G6B5 ? PixelFormat::R5G6B5 : PixelFormat::X8R8G8B8;
    return host().present(frame) ? kOk : kDeviceLost;
}

Result Device::clear(uint32_t count, const Rect* rects, uint32_t flags, uint32_t colour, float z,
                     uint32_t stencil) {
    (void)z;
    (void)stencil;
    if (count > 0 && !rects) return kInvalidCall;
    if (!(flags & clearFlags::Target)) return kOk;
    const Viewport& vp = state_.viewport;
    const Rect view{static_cast<int32_t>(vp.x), static_cast<int32_t>(vp.y),
                    static_cast<int32_t>(vp.x + vp.width), static_cast<int32_t>(vp.y + vp.height)};
    if (count == 0) {
        rasteriser_->clear(view, colour);
        return kOk;
    }
    for (uint32_t i = 0; i < count; ++i) {
        Rect r = rects[i];
        if (r.left < view.left) r.left = view.left;
        if (r.top < view.top) r.top = view.top;
        if (r.right > view.right) r.right = view.right;
        if (r.bottom > view.bottom) r.bottom = view.bottom;
        rasteriser_->clear(r, colour);
    }
    return kOk;
}

Result Device::beginScene() {
    if (inScene_) return kInvalidCall;
    if (lost()) return kDeviceLost;
    inScene_ = true;
    return kOk;
}

Result Device::endScene() {
    if (!inScene_) return kInvalidCall;
    inScene_ = false;
    return kOk;
}

// --- Settings ---

Result Device::setRenderState(RenderState state, uint32_t value) {
    const int i = static_cast<int>(state);
    if (i >= static_cast<int>(RenderState::Count)) return kInvalidCall;
    if (recording_) {
        recording_->renderSet_[i] = true;
        recording_->values_.renderStates[i] = value;
    } else {
        state_.renderStates[i] = value;
    }
    return kOk;
}

Result Device::getRenderState(RenderState state, uint32_t& value) const {
    const int i = static_cast<int>(state);
    if (i >= static_cast<int>(RenderState::Count)) return kInvalidCall;
    value = state_.renderStates[i];
    return kOk;
}

Result Device::setTextureStageState(uint32_t stage, TextureStageState state, uint32_t value) {
    const int i = static_cast<int>(state);
    if (stage >= kMaxStages || i >= static_cast<int>(TextureStageState::Count)) return kInvalidCall;
    if (recording_) {
        recording_->stageSet_[stage * StateBlock::kStageStates + i] = true;
        recording_->values_.stageStates[stage][i] = value;
    } else {
        state_.stageStates[stage][i] = value;
    }
    return kOk;
}

Result Device::getTextureStageState(uint32_t stage, TextureStageState state,
                                    uint32_t& value) const {
    const int i = static_cast<int>(state);
    if (stage >= kMaxStages || i >= static_cast<int>(TextureStageState::Count)) return kInvalidCall;
    value = state_.stageStates[stage][i];
    return kOk;
}

Result Device::setSamplerState(uint32_t sampler, SamplerState state, uint32_t value) {
    const int i = static_cast<int>(state);
    if (sampler >= kMaxStages || i >= static_cast<int>(SamplerState::Count)) return kInvalidCall;
    if (recording_) {
        recording_->samplerSet_[sampler * StateBlock::kSamplerStates + i] = true;
        recording_->values_.samplerStates[sampler][i] = value;
    } else {
        state_.samplerStates[sampler][i] = value;
    }
    return kOk;
}

Result Device::getSamplerState(uint32_t sampler, SamplerState state, uint32_t& value) const {
    const int i = static_cast<int>(state);
    if (sampler >= kMaxStages || i >= static_cast<int>(SamplerState::Count)) return kInvalidCall;
    value = state_.samplerStates[sampler][i];
    return kOk;
}

void Device::bindTexture(uint32_t stage, Texture* texture) {
    Texture*& slot = state_.textures[stage];
    if (slot == texture) return;
    if (texture) texture->addRef();
    releaseRef(slot);
    slot = texture;
}

Result Device::setTexture(uint32_t stage, Texture* texture) {
    if (stage >= kMaxStages) return kInvalidCall;
    if (texture && texture->pool() == Pool::SystemMemory) return kInvalidCall;
    if (recording_) {
        Texture*& slot = recording_->values_.textures[stage];
        recording_->textureSet_[stage] = true;
        if (slot != texture) {
            if (texture) texture->addRef();
            releaseRef(slot);
            slot = texture;
        }
        return kOk;
    }
    bindTexture(stage, texture);
    return kOk;
}

Result Device::getTexture(uint32_t stage, Texture** out) const {
    if (stage >= kMaxStages || !out) return kInvalidCall;
    *out = state_.textures[stage];
    if (*out) (*out)->addRef();
    return kOk;
}

Result Device::setTransform(TransformType type, const Matrix& matrix) {
    const int i = static_cast<int>(type);
    if (i >= static_cast<int>(TransformType::Count)) return kInvalidCall;
    if (recording_) {
        recording_->transformSet_[i] = true;
        recording_->values_.transforms[i] = matrix;
    } else {
        state_.transforms[i] = matrix;
    }
    return kOk;
}

Result Device::getTransform(TransformType type, Matrix& out) const {
    const int i = static_cast<int>(type);
    if (i >= static_cast<int>(TransformType::Count)) return kInvalidCall;
    out = state_.transforms[i];
    return kOk;
}

Result Device::setViewport(const Viewport& viewport) {
    if (viewport.width == 0 || viewport.height == 0 || viewport.x + viewport.width > width_ ||
        viewport.y + viewport.height > height_)
        return kInvalidCall;
    if (recording_) {
        recording_->viewportSet_ = true;
        recording_->values_.viewport = viewport;
    } else {
        state_.viewport = viewport;
    }
    return kOk;
}

Result Device::getViewport(Viewport& out) const {
    out = state_.viewport;
    return kOk;
}

Result Device::setFvf(uint32_t fvf) {
    if (recording_) {
        recording_->fvfSet_ = true;
        recording_->values_.fvf = fvf;
    } else {
        state_.fvf = fvf;
    }
    return kOk;
}

Result Device::getFvf(uint32_t& fvf) const {
    fvf = state_.fvf;
    return kOk;
}

// --- State blocks ---

Result Device::beginStateBlock() {
    if (recording_) return kInvalidCall;
    recording_ = new (std::nothrow) StateBlock(this);
    return recording_ ? kOk : kOutOfMemory;
}

Result Device::endStateBlock(StateBlock** out) {
    if (!recording_ || !out) return kInvalidCall;
    *out = recording_;
    recording_ = nullptr;
    return kOk;
}

// --- Resources ---

Result Device::createTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usageFlags,
                             Format format, Pool pool, Texture** out) {
    if (!out) return kInvalidCall;
    *out = nullptr;
    const DeviceCaps& caps = adapterProfile().caps;
    if (width == 0 || height == 0 || width > caps.maxTextureWidth || height > caps.maxTextureHeight)
        return kInvalidCall;
    if ((caps.textureCaps & textureCaps::Pow2) &&
        ((width & (width - 1)) != 0 || (height & (height - 1)) != 0))
        return kInvalidCall;
    if ((caps.textureCaps & textureCaps::SquareOnly) && width != height) return kInvalidCall;
    if (caps.maxTextureAspectRatio != 0 && (width > height * caps.maxTextureAspectRatio ||
                                            height > width * caps.maxTextureAspectRatio))
        return kInvalidCall;
    if (usageFlags & ~usage::Dynamic) return kInvalidCall;
    if ((usageFlags & usage::Dynamic) &&
        (pool == Pool::Managed || !(caps.caps2 & caps2::DynamicTextures)))
        return kInvalidCall;
    uint32_t chain = 1;
    for (uint32_t side = width > height ? width : height; side > 1; side >>= 1) ++chain;
    if (levels == 0) levels = chain;
    if (levels > chain || levels > Texture::kMaxLevels) return kInvalidCall;
    if (levels > 1 && !(caps.textureCaps & textureCaps::MipMap)) return kInvalidCall;
    DisplayMode display;
    if (failed(system_->getAdapterDisplayMode(display))) display.format = Format::X8R8G8B8;
    if (!isTextureFormat(format) ||
        failed(system_->checkDeviceFormat(creation_.deviceType, display.format, usageFlags,
                                          ResourceType::Texture, format)))
        return kNotAvailable;
    auto* texture =
        new (std::nothrow) Texture(this, width, height, levels, usageFlags, format, pool);
    if (!texture) return kOutOfMemory;
    if (!texture->allocate()) {
        texture->release();
        return kOutOfMemory;
    }
    *out = texture;
    return kOk;
}

Result Device::updateTexture(Texture* source, Texture* destination) {
    if (!source || !destination || source->pool() != Pool::SystemMemory ||
        destination->pool() != Pool::Default || source->format() != destination->format() ||
        source->width() != destination->width() || source->height() != destination->height() ||
        source->levelCount() < destination->levelCount() || source->anyLocked() ||
        destination->anyLocked())
        return kInvalidCall;
    destination->copyLevelsFrom(*source);
    return kOk;
}

// --- Drawing ---

namespace {

// Where each part of a vertex lies, from the vertex format.
struct VertexLayout {
    bool transformed = false;  // x, y, z, 1/w in screen space
    int diffuseOffset = -1;
    int uvOffset = -1;
    uint32_t size = 0;
};

bool vertexLayout(uint32_t format, VertexLayout& out) {
    constexpr uint32_t known = fvf::Xyz | fvf::XyzRhw | fvf::Diffuse | fvf::Tex1;
    const bool xyz = (format & fvf::Xyz) != 0, rhw = (format & fvf::XyzRhw) != 0;
    if ((format & ~known) != 0 || xyz == rhw) return false;
    out.transformed = rhw;
    uint32_t offset = rhw ? 16 : 12;
    if (format & fvf::Diffuse) {
        out.diffuseOffset = static_cast<int>(offset);
        offset += 4;
    }
    if (format & fvf::Tex1) {
        out.uvOffset = static_cast<int>(offset);
        offset += 8;
    }
    out.size = offset;
    return true;
}

struct Transform {
    double m[4][4];
};

Transform combined(const PipelineState& s) {
    Transform out{};
    const Matrix* ms[3] = {&s.transforms[static_cast<int>(TransformType::World)],
                           &s.transforms[static_cast<int>(TransformType::View)],
                           &s.transforms[static_cast<int>(TransformType::Projection)]};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) out.m[r][c] = ms[0]->m[r][c];
    for (int k = 1; k < 3; ++k) {
        Transform next{};
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                for (int i = 0; i < 4; ++i) next.m[r][c] += out.m[r][i] * ms[k]->m[i][c];
        out = next;
    }
    return out;
}

// Reads vertex `index`; untransformed positions go through `t` and the viewport. A vertex
// behind the eye (w <= 0) gets a position that drops its triangles.
ScreenVertex readVertex(const uint8_t* base, uint32_t index, uint32_t stride,
                        const VertexLayout& layout, const Transform& t, const Viewport& vp) {
    const uint8_t* p = base + static_cast<size_t>(index) * stride;
    ScreenVertex v{};
    float pos[4] = {0, 0, 0, 1};
    std::memcpy(pos, p, layout.transformed ? 16 : 12);
    v.diffuse = 0xFFFFFFFFu;
    if (layout.diffuseOffset >= 0) std::memcpy(&v.diffuse, p + layout.diffuseOffset, 4);
    if (layout.uvOffset >= 0) {
        std::memcpy(&v.u, p + layout.uvOffset, 4);
        std::memcpy(&v.v, p + layout.uvOffset + 4, 4);
    }
    if (layout.transformed) {
        v.x = pos[0];
        v.y = pos[1];
        v.z = pos[2];
        v.rhw = pos[3];
        return v;
    }
    double clip[4];
    for (int c = 0; c < 4; ++c)
        clip[c] = pos[0] * t.m[0][c] + pos[1] * t.m[1][c] + pos[2] * t.m[2][c] + t.m[3][c];
    if (!(clip[3] > 0.0)) {
        v.x = v.y = std::numeric_limits<float>::quiet_NaN();
        return v;
    }
    // Positions far beyond any screen become NaN (dropping the triangle) rather than
    // overflowing the float.
    const auto narrow = [](double d) {
        return std::fabs(d) < 1e30 ? static_cast<float>(d)
                                   : std::numeric_limits<float>::quiet_NaN();
    };
    const double w = clip[3];
    v.x = narrow(vp.x + (clip[0] / w + 1.0) * vp.width * 0.5);
    v.y = narrow(vp.y + (1.0 - clip[1] / w) * vp.height * 0.5);
    v.z = narrow(vp.minZ + clip[2] / w * (vp.maxZ - vp.minZ));
    v.rhw = narrow(1.0 / w);
    return v;
}

}  // namespace

Result Device::drawPrimitiveUp(PrimitiveType type, uint32_t primitiveCount, const void* vertices,
                               uint32_t stride) {
    if (!inScene_ || !vertices || stride == 0 || primitiveCount == 0 ||
        primitiveCount > kMaxPrimitivesPerDraw)
        return kInvalidCall;
    if (type != PrimitiveType::TriangleList && type != PrimitiveType::TriangleStrip &&
        type != PrimitiveType::TriangleFan)
        return kInvalidCall;
    VertexLayout layout;
    if (!vertexLayout(state_.fvf, layout) || stride < layout.size) return kInvalidCall;

    rasteriser_->prepare(state_);
    const Transform t = layout.transformed ? Transform{} : combined(state_);
    const auto* base = static_cast<const uint8_t*>(vertices);
    auto vertex = [&](uint32_t i) {
        return readVertex(base, i, stride, layout, t, state_.viewport);
    };
    if (type == PrimitiveType::TriangleFan && primitiveCount == 2) {
        rasteriser_->drawQuad(vertex(0), vertex(1), vertex(2), vertex(3));
        return kOk;
    }
    for (uint32_t i = 0; i < primitiveCount; ++i) {
        switch (type) {
            case PrimitiveType::TriangleList:
                rasteriser_->drawTriangle(vertex(3 * i), vertex(3 * i + 1), vertex(3 * i + 2));
                break;
            case PrimitiveType::TriangleStrip:
                // Every second triangle swaps its first two vertices to keep the winding.
                if (i % 2 == 0)
                    rasteriser_->drawTriangle(vertex(i), vertex(i + 1), vertex(i + 2));
                else
                    rasteriser_->drawTriangle(vertex(i + 1), vertex(i), vertex(i + 2));
                break;
            default:
                rasteriser_->drawTriangle(vertex(0), vertex(i + 1), vertex(i + 2));
                break;
        }
    }
    return kOk;
}

// --- What the device is ---

Result Device::getDeviceCaps(DeviceCaps& out) const {
    return system_->getDeviceCaps(creation_.deviceType, out);
}

Result Device::getCreationParameters(CreationParameters& out) const {
    out = creation_;
    return kOk;
}

Result Device::getDisplayMode(DisplayMode& out) const {
    if (windowed_) return system_->getAdapterDisplayMode(out);
    out = DisplayMode{width_, height_, 60, backFormat_};  // full screen switched the display
    return kOk;
}

Result Device::getGraphicsSystem(GraphicsSystem** out) {
    if (!out) return kInvalidCall;
    system_->addRef();
    *out = system_;
    return kOk;
}

uint32_t Device::backBufferPixel(int x, int y) const {
    return rasteriser_->pixel(x, y);
}

}  // namespace plat::gfx
