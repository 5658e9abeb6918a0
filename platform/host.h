#pragma once
// The one narrow interface between the platform services and an operating system.
//
// The platform services (window, message queue, keyboard, graphics device, sound) hold all the
// semantics the game relies on; a Host only translates: it reports what happened (activation,
// keys, a close request), gives a keyboard snapshot and the time, shows finished frames and
// plays mixed sound. Two hosts exist: the real one over SDL2 and a headless one for tests and
// the replay tool.

#include <cstdint>

namespace plat {

// Something the operating system reports; the window service turns it into window messages.
struct HostEvent {
    enum class Type : uint8_t {
        Activate,      // the application became the active one
        Deactivate,    // another application became active
        CloseRequest,  // the user closed the window
        KeyDown,       // a key went down (also on auto-repeat); `virtualKey` says which
    };
    Type type = Type::Activate;
    uint8_t virtualKey = 0;
};

// A finished 320 x 240 picture handed to the host.
enum class PixelFormat : uint8_t { X8R8G8B8, R5G6B5 };
struct FrameView {
    const void* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;  // bytes per row
    PixelFormat format = PixelFormat::X8R8G8B8;
};

// Where and how the window shows the picture.
struct WindowGeometry {
    int x = 0, y = 0;           // outer top-left corner, desktop pixels
    int width = 0, height = 0;  // outer size
    int clientWidth = 0, clientHeight = 0;
};

// Pulls mixed output; implemented by the sound mixer, called by the host's audio device.
class AudioSource {
  public:
    virtual ~AudioSource() = default;
    // Fills `frames` stereo frames of signed 16-bit samples (interleaved left/right).
    virtual void mix(int16_t* out, int frames) = 0;
};

class Host {
  public:
    virtual ~Host() = default;

    // --- Window ---
    // Opens the one window, hidden until shown. False when there is no display.
    virtual bool openWindow(const char* captionUtf8) = 0;
    virtual void setWindowGeometry(const WindowGeometry& geometry) = 0;
    virtual void showWindow() = 0;
    // Full screen shows the picture over the whole display; windowed in the window's client area.
    virtual void setFullscreen(bool fullscreen) = 0;
    virtual void desktopSize(int& width, int& height) = 0;
    // Whether the application is the active one right now.
    virtual bool isActive() = 0;
    // Gathers what the operating system has to say; called once per message-loop turn.
    virtual void pumpEvents() = 0;
    // Next pending event, or false when none is waiting. Never blocks.
    virtual bool pollEvent(HostEvent& event) = 0;
    virtual void showCursor(bool visible) = 0;
    // Modal message box with an OK button; texts in UTF-8.
    virtual void messageBox(const char* textUtf8, const char* captionUtf8) = 0;

    // --- Keyboard ---
    virtual bool keyboardAvailable() = 0;
    // Fills 256 bytes indexed by the game's scan codes, 0x80 for a key that is down.
    // False when no snapshot can be taken.
    virtual bool readKeyboard(uint8_t state[256]) = 0;

    // --- Presentation ---
    // Prepares presentation; `accelerated` asks for a hardware renderer. False if impossible.
    virtual bool openPresenter(bool accelerated) = 0;
    virtual void closePresenter() = 0;
    // Shows the frame scaled to the client area (or the full screen) and waits for the next
    // 60 Hz retrace.
    virtual bool present(const FrameView& frame) = 0;

    // --- Sound ---
    // Opens the audio output at `sampleRate` Hz, stereo, signed 16-bit; the host pulls from
    // `source`. False when there is no audio device.
    virtual bool openAudio(int sampleRate, AudioSource* source) = 0;
    virtual void closeAudio() = 0;

    // --- Time ---
    // Calendar time in whole seconds since the epoch.
    virtual int64_t calendarTime() = 0;
    virtual void sleepMs(int milliseconds) = 0;

    // --- Instrumentation ---
    // Names a platform call as it happens (start-up and shutdown steps); the headless host can
    // record them for tests, the real host ignores them.
    virtual void note(const char* /*call*/) {}
};

// The host the platform services use. Set once before the game starts.
void setHost(Host* host);
Host& host();

}  // namespace plat
