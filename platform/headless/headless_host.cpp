#include "platform/headless/headless_host.h"

#include <cstdio>

namespace plat {

HeadlessHost::HeadlessHost(const HeadlessConfig& config) : config_(config) {
    events_.reserve(64);
    lastFrame_.reserve(320 * 240);
}

bool HeadlessHost::openWindow(const char* captionUtf8) {
    note("openWindow");
    if (!config_.display) return false;
    caption_ = captionUtf8 ? captionUtf8 : "";
    active_ = config_.activeAtStart;
    return true;
}

void HeadlessHost::desktopSize(int& width, int& height) {
    width = config_.desktopWidth;
    height = config_.desktopHeight;
}

void HeadlessHost::pushEvent(const HostEvent& event) {
    events_.push_back(event);
}

void HeadlessHost::setActive(bool active) {
    active_ = active;
    pushEvent({active ? HostEvent::Type::Activate : HostEvent::Type::Deactivate, 0});
}

void HeadlessHost::pumpEvents() {
    ++turns_;
    if (driver_) driver_->onTurn(*this);
}

bool HeadlessHost::pollEvent(HostEvent& event) {
    if (nextEvent_ >= events_.size()) {
        events_.clear();
        nextEvent_ = 0;
        return false;
    }
    event = events_[nextEvent_++];
    return true;
}

void HeadlessHost::messageBox(const char* textUtf8, const char* captionUtf8) {
    messageBoxes_.emplace_back(textUtf8 ? textUtf8 : "");
    if (config_.printMessageBoxes)
        std::fprintf(stderr, "marlovek: [%s] %s\n", captionUtf8 ? captionUtf8 : "",
                     textUtf8 ? textUtf8 : "");
}

bool HeadlessHost::readKeyboard(uint8_t state[256]) {
    ++keyboardReads_;
    if (!config_.keyboard) return false;
    for (int i = 0; i < 256; ++i) state[i] = keys_[i];
    return true;
}

bool HeadlessHost::openPresenter(bool accelerated) {
    note(accelerated ? "openPresenter(accelerated)" : "openPresenter(software)");
    const bool ok = accelerated ? config_.acceleratedPresenter : config_.softwarePresenter;
    if (ok) {
        presenterOpen_ = true;
        presenterAccelerated_ = accelerated;
    }
    return ok;
}

void HeadlessHost::closePresenter() {
    note("closePresenter");
    presenterOpen_ = false;
}

bool HeadlessHost::present(const FrameView& frame) {
    if (!presenterOpen_ || !frame.pixels) return false;
    ++presents_;
    lastFrame_.resize(static_cast<size_t>(frame.width) * frame.height);
    const auto* base = static_cast<const uint8_t*>(frame.pixels);
    for (int y = 0; y < frame.height; ++y) {
        const uint8_t* row = base + static_cast<size_t>(y) * frame.pitch;
        uint32_t* out = lastFrame_.data() + static_cast<size_t>(y) * frame.width;
        if (frame.format == PixelFormat::X8R8G8B8) {
            const auto* p = reinterpret_cast<const uint32_t*>(row);
            for (int x = 0; x < frame.width; ++x) out[x] = p[x] & 0x00FFFFFFu;
        } else {
            const auto* p = reinterpret_cast<const uint16_t*>(row);
            for (int x = 0; x < frame.width; ++x) {
                // Expand 5/6/5 bits to 8 by repeating the top bits.
                const uint32_t r = (p[x] >> 11) & 0x1F, g = (p[x] >> 5) & 0x3F, b = p[x] & 0x1F;
                out[x] = ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
            }
        }
    }
    return true;
}

bool HeadlessHost::openAudio(int sampleRate, AudioSource* source) {
    note("openAudio");
    if (!config_.audio) return false;
    audioSource_ = source;
    audioRate_ = sampleRate;
    return true;
}

void HeadlessHost::closeAudio() {
    note("closeAudio");
    audioSource_ = nullptr;
    audioRate_ = 0;
}

void HeadlessHost::sleepMs(int milliseconds) {
    // No real waiting; the time asked for is counted so tests can see it.
    if (milliseconds > 0) sleptMs_ += static_cast<uint64_t>(milliseconds);
}

void HeadlessHost::note(const char* call) {
    if (recording_) calls_.emplace_back(call);
}

}  // namespace plat
