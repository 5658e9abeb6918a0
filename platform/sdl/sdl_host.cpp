#include "platform/sdl/sdl_host.h"

#include <SDL.h>

#include <cstdio>
#include <ctime>

#include "platform/keyboard.h"
#include "platform/window.h"

namespace plat {
namespace {

constexpr int kPictureWidth = 320;
constexpr int kPictureHeight = 240;
constexpr double kRefreshRate = 60.0;

// SDL scancodes to the scan codes the game reads.
struct ScanMapping {
    SDL_Scancode sdl;
    uint8_t scan;
};
constexpr ScanMapping kScanMap[] = {
    {SDL_SCANCODE_UP, scan::Up},         {SDL_SCANCODE_DOWN, scan::Down},
    {SDL_SCANCODE_LEFT, scan::Left},     {SDL_SCANCODE_RIGHT, scan::Right},
    {SDL_SCANCODE_RETURN, scan::Return}, {SDL_SCANCODE_Z, scan::Z},
    {SDL_SCANCODE_X, scan::X},           {SDL_SCANCODE_C, scan::C},
    {SDL_SCANCODE_V, scan::V},           {SDL_SCANCODE_SPACE, scan::Space},
    {SDL_SCANCODE_ESCAPE, scan::Escape}, {SDL_SCANCODE_F1, scan::F1},
    {SDL_SCANCODE_F2, scan::F2},         {SDL_SCANCODE_KP_ENTER, 0x9C},
};

// Keys whose key-down messages the window procedure hears.
uint8_t virtualKey(SDL_Keycode key) {
    switch (key) {
        case SDLK_ESCAPE:
            return vk::Escape;
        case SDLK_F1:
            return vk::F1;
        case SDLK_F2:
            return vk::F2;
        default:
            if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint8_t>('A' + (key - SDLK_a));
            return 0;
    }
}

void audioCallback(void* user, Uint8* stream, int bytes) {
    auto* source = static_cast<AudioSource*>(user);
    source->mix(reinterpret_cast<int16_t*>(stream), bytes / 4);
}

}  // namespace

SdlHost::SdlHost() {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");  // crisp pixels when scaled
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "1");
    videoReady_ = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
    if (!videoReady_) {
        std::fprintf(stderr, "marlovek: no display: %s\n", SDL_GetError());
        return;
    }
    // Without a display SDL falls back to drivers that show nothing; a game nobody can see is
    // no game, so those count as no display unless they were asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const bool invisible =
        driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    if (invisible && !(asked && SDL_strcasecmp(asked, driver) == 0)) {
        std::fprintf(stderr, "marlovek: no display (only SDL's invisible '%s' driver is there)\n",
                     driver);
        SDL_Quit();
        videoReady_ = false;
    }
}

SdlHost::~SdlHost() {
    closeAudio();
    closePresenter();
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
}

bool SdlHost::openWindow(const char* captionUtf8) {
    if (!videoReady_) return false;
    window_ = SDL_CreateWindow(captionUtf8, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               kPictureWidth, kPictureHeight, SDL_WINDOW_HIDDEN);
    if (!window_) {
        std::fprintf(stderr, "marlovek: cannot open a window: %s\n", SDL_GetError());
        return false;
    }
    if (SDL_Surface* icon = SDL_LoadBMP("res/icon.bmp")) {
        SDL_SetColorKey(icon, SDL_TRUE, SDL_MapRGB(icon->format, 0, 0, 0));
        SDL_SetWindowIcon(window_, icon);
        SDL_FreeSurface(icon);
    }
    active_ = true;  // a new window comes up in front
    return true;
}

void SdlHost::setWindowGeometry(const WindowGeometry& g) {
    if (!window_ || fullscreen_) return;
    if (g.clientWidth > 0 && g.clientHeight > 0)
        SDL_SetWindowSize(window_, g.clientWidth, g.clientHeight);
    // Our geometry is the outer rectangle; SDL places the client area.
    Rect frame{0, 0, 0, 0};
    adjustWindowRect(frame, style::PopupWindow | style::DlgFrame);
    SDL_SetWindowPosition(window_, g.x - frame.left, g.y - frame.top);
}

void SdlHost::showWindow() {
    if (!window_) return;
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

void SdlHost::setFullscreen(bool fullscreen) {
    fullscreen_ = fullscreen;
    if (window_) SDL_SetWindowFullscreen(window_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void SdlHost::desktopSize(int& width, int& height) {
    SDL_DisplayMode mode;
    if (videoReady_ && SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        width = mode.w;
        height = mode.h;
    } else {
        width = 640;
        height = 480;
    }
}

void SdlHost::push(const HostEvent& event) {
    if (eventCount_ == kEventCapacity) return;
    events_[(eventHead_ + eventCount_) % kEventCapacity] = event;
    ++eventCount_;
}

void SdlHost::pumpEvents() {
    if (!videoReady_) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_QUIT:
                push({HostEvent::Type::CloseRequest, 0});
                break;
            case SDL_WINDOWEVENT:
                switch (e.window.event) {
                    case SDL_WINDOWEVENT_CLOSE:
                        push({HostEvent::Type::CloseRequest, 0});
                        break;
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                    case SDL_WINDOWEVENT_RESTORED:
                        if (!active_) {
                            active_ = true;
                            push({HostEvent::Type::Activate, 0});
                        }
                        break;
                    case SDL_WINDOWEVENT_FOCUS_LOST:
                    case SDL_WINDOWEVENT_MINIMIZED:
                        if (active_) {
                            active_ = false;
                            push({HostEvent::Type::Deactivate, 0});
                        }
                        break;
                    default:
                        break;
                }
                break;
            case SDL_KEYDOWN:
                if (const uint8_t key = virtualKey(e.key.keysym.sym))
                    push({HostEvent::Type::KeyDown, key});
                break;
            default:
                break;
        }
    }
}

bool SdlHost::pollEvent(HostEvent& event) {
    if (eventCount_ == 0) return false;
    event = events_[eventHead_];
    eventHead_ = (eventHead_ + 1) % kEventCapacity;
    --eventCount_;
    return true;
}

void SdlHost::showCursor(bool visible) {
    if (videoReady_) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void SdlHost::messageBox(const char* textUtf8, const char* captionUtf8) {
    std::fprintf(stderr, "marlovek: %s\n", textUtf8);
    if (videoReady_) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, captionUtf8, textUtf8, nullptr);
}

bool SdlHost::readKeyboard(uint8_t state[256]) {
    if (!videoReady_) return false;
    int count = 0;
    const Uint8* keys = SDL_GetKeyboardState(&count);
    for (int i = 0; i < 256; ++i) state[i] = 0;
    for (const ScanMapping& m : kScanMap)
        if (m.sdl < count && keys[m.sdl]) state[m.scan] = 0x80;
    return true;
}

bool SdlHost::openPresenter(bool accelerated) {
    if (!window_) return false;
    closePresenter();
    const Uint32 flags = accelerated ? (SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC)
                                     : SDL_RENDERER_SOFTWARE;
    renderer_ = SDL_CreateRenderer(window_, -1, flags);
    if (!renderer_) return false;
    SDL_RendererInfo info;
    vsync_ =
        SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    // Keep the 4:3 picture whole in any client area or on any display, with black bars.
    SDL_RenderSetLogicalSize(renderer_, kPictureWidth, kPictureHeight);
    nextFrameTicks_ = 0;
    return ensureTexture(PixelFormat::X8R8G8B8);
}

void SdlHost::closePresenter() {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    if (renderer_) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
}

bool SdlHost::ensureTexture(PixelFormat format) {
    if (texture_ && textureFormat_ == format) return true;
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(
        renderer_, format == PixelFormat::R5G6B5 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888,
        SDL_TEXTUREACCESS_STREAMING, kPictureWidth, kPictureHeight);
    textureFormat_ = format;
    return texture_ != nullptr;
}

bool SdlHost::present(const FrameView& frame) {
    if (!renderer_ || !frame.pixels || !ensureTexture(frame.format)) return false;
    SDL_UpdateTexture(texture_, nullptr, frame.pixels, frame.pitch);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
    pace();
    return true;
}

// The game advances one tick per present; hold presents to a steady 60 Hz whatever the display
// does (faster refresh, no vsync, a hidden window).
void SdlHost::pace() {
    const uint64_t frequency = SDL_GetPerformanceFrequency();
    const uint64_t period = static_cast<uint64_t>(static_cast<double>(frequency) / kRefreshRate);
    const uint64_t now = SDL_GetPerformanceCounter();
    if (nextFrameTicks_ == 0 || now > nextFrameTicks_ + period) {
        nextFrameTicks_ = now + period;  // first frame, or fell behind: start a new rhythm
        return;
    }
    // With vsync at 60 Hz the present already waited; allow a little slack for its jitter.
    const uint64_t slack = vsync_ ? period / 8 : 0;
    // The counter is read once per turn: reading it twice could see the deadline pass in
    // between and turn the remaining time into a huge unsigned wait.
    for (;;) {
        const uint64_t current = SDL_GetPerformanceCounter();
        if (current + slack >= nextFrameTicks_) break;
        const uint64_t ms = (nextFrameTicks_ - slack - current) * 1000 / frequency;
        if (ms > 1) SDL_Delay(static_cast<Uint32>(ms - 1));
    }
    nextFrameTicks_ += period;
}

bool SdlHost::openAudio(int sampleRate, AudioSource* source) {
    if (!source || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    want.freq = sampleRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = audioCallback;
    want.userdata = source;
    audioDevice_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (audioDevice_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    audioSource_ = source;
    SDL_PauseAudioDevice(audioDevice_, 0);
    return true;
}

void SdlHost::closeAudio() {
    if (audioDevice_ == 0) return;
    SDL_CloseAudioDevice(audioDevice_);
    audioDevice_ = 0;
    audioSource_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int64_t SdlHost::calendarTime() {
    return static_cast<int64_t>(std::time(nullptr));
}

void SdlHost::sleepMs(int milliseconds) {
    if (milliseconds > 0) SDL_Delay(static_cast<Uint32>(milliseconds));
}

}  // namespace plat
