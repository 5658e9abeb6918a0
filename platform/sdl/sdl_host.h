#pragma once
// The real host: one SDL2 window with a renderer that shows the 320 x 240 picture scaled to the
// client area (or the whole display), keyboard state and events, an audio device pulling from
// the mixer, message boxes, the clock. It translates; the platform services decide.

#include <cstdint>

#include "platform/host.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace plat {

class SdlHost : public Host {
  public:
    SdlHost();
    ~SdlHost() override;

    bool openWindow(const char* captionUtf8) override;
    void setWindowGeometry(const WindowGeometry& geometry) override;
    void showWindow() override;
    void setFullscreen(bool fullscreen) override;
    void desktopSize(int& width, int& height) override;
    bool isActive() override { return active_; }
    void pumpEvents() override;
    bool pollEvent(HostEvent& event) override;
    void showCursor(bool visible) override;
    void messageBox(const char* textUtf8, const char* captionUtf8) override;
    bool keyboardAvailable() override { return videoReady_; }
    bool readKeyboard(uint8_t state[256]) override;
    bool openPresenter(bool accelerated) override;
    void closePresenter() override;
    bool present(const FrameView& frame) override;
    bool openAudio(int sampleRate, AudioSource* source) override;
    void closeAudio() override;
    int64_t calendarTime() override;
    void sleepMs(int milliseconds) override;

  private:
    void push(const HostEvent& event);
    bool ensureTexture(PixelFormat format);
    void pace();

    bool videoReady_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    PixelFormat textureFormat_ = PixelFormat::X8R8G8B8;
    bool vsync_ = false;
    bool fullscreen_ = false;
    bool active_ = false;
    uint32_t audioDevice_ = 0;
    AudioSource* audioSource_ = nullptr;
    uint64_t nextFrameTicks_ = 0;  // performance-counter time of the next 60 Hz tick

    static constexpr int kEventCapacity = 64;
    HostEvent events_[kEventCapacity];
    int eventHead_ = 0;
    int eventCount_ = 0;
};

}  // namespace plat
