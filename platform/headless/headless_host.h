#pragma once
// The test host: no display, no devices. Events and keys are injected by the caller (a test or
// the replay tool), time is fixed, presented frames and mixed sound are captured, message boxes
// are recorded and printed on standard error, and platform calls can be logged.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/host.h"

namespace plat {

struct HeadlessConfig {
    bool display = true;               // false: the window cannot be opened
    bool keyboard = true;              // false: no keyboard device
    bool acceleratedPresenter = true;  // false: the hardware presenter cannot be opened
    bool softwarePresenter = true;     // false: no presenter at all
    bool audio = true;                 // false: no audio device
    bool activeAtStart = true;         // the application is active when its window shows
    bool printMessageBoxes = true;     // echo message boxes on standard error
    int desktopWidth = 1920;
    int desktopHeight = 1080;
    int64_t time = 0;  // the calendar time reported
};

class HeadlessHost : public Host {
  public:
    explicit HeadlessHost(const HeadlessConfig& config = HeadlessConfig{});

    // Called at the start of every message-loop turn (from pumpEvents), before events are taken.
    class Driver {
      public:
        virtual ~Driver() = default;
        virtual void onTurn(HeadlessHost& host) = 0;
    };
    void setDriver(Driver* driver) { driver_ = driver; }

    // --- Injection ---
    void pushEvent(const HostEvent& event);
    void setKey(uint8_t scanCode, bool down) { keys_[scanCode] = down ? 0x80 : 0x00; }
    void setActive(bool active);  // also queues the matching event
    void requestClose() { pushEvent({HostEvent::Type::CloseRequest, 0}); }
    void pressWindowKey(uint8_t virtualKey) { pushEvent({HostEvent::Type::KeyDown, virtualKey}); }

    // --- What happened ---
    uint64_t turns() const { return turns_; }
    uint64_t presents() const { return presents_; }
    uint64_t keyboardReads() const { return keyboardReads_; }
    bool fullscreen() const { return fullscreen_; }
    bool cursorVisible() const { return cursorVisible_; }
    bool presenterOpen() const { return presenterOpen_; }
    bool presenterAccelerated() const { return presenterAccelerated_; }
    const WindowGeometry& geometry() const { return geometry_; }
    const std::vector<std::string>& messageBoxes() const { return messageBoxes_; }
    // The last presented frame as 0x00RRGGBB pixels, 320 x 240 (empty before the first).
    const std::vector<uint32_t>& lastFrame() const { return lastFrame_; }
    // Platform calls noted while recording was on.
    void recordCalls(bool on) { recording_ = on; }
    const std::vector<std::string>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    AudioSource* audioSource() const { return audioSource_; }
    int audioRate() const { return audioRate_; }
    HeadlessConfig& config() { return config_; }

    // --- Host ---
    bool openWindow(const char* captionUtf8) override;
    void setWindowGeometry(const WindowGeometry& geometry) override { geometry_ = geometry; }
    void showWindow() override { windowShown_ = true; }
    void setFullscreen(bool fullscreen) override { fullscreen_ = fullscreen; }
    void desktopSize(int& width, int& height) override;
    bool isActive() override { return active_; }
    void pumpEvents() override;
    bool pollEvent(HostEvent& event) override;
    void showCursor(bool visible) override { cursorVisible_ = visible; }
    void messageBox(const char* textUtf8, const char* captionUtf8) override;
    bool keyboardAvailable() override { return config_.keyboard; }
    bool readKeyboard(uint8_t state[256]) override;
    bool openPresenter(bool accelerated) override;
    void closePresenter() override;
    bool present(const FrameView& frame) override;
    bool openAudio(int sampleRate, AudioSource* source) override;
    void closeAudio() override;
    int64_t calendarTime() override { return config_.time; }
    void sleepMs(int milliseconds) override;
    void note(const char* call) override;

    const std::string& caption() const { return caption_; }
    uint64_t sleptMs() const { return sleptMs_; }

  private:
    HeadlessConfig config_;
    Driver* driver_ = nullptr;
    uint8_t keys_[256] = {};
    std::vector<HostEvent> events_;  // reserved up front; drained every turn
    size_t nextEvent_ = 0;
    bool active_ = false;
    bool windowShown_ = false;
    bool fullscreen_ = false;
    bool cursorVisible_ = true;
    bool presenterOpen_ = false;
    bool presenterAccelerated_ = false;
    WindowGeometry geometry_;
    std::string caption_;
    std::vector<std::string> messageBoxes_;
    std::vector<uint32_t> lastFrame_;
    std::vector<std::string> calls_;
    bool recording_ = false;
    uint64_t turns_ = 0;
    uint64_t presents_ = 0;
    uint64_t keyboardReads_ = 0;
    uint64_t sleptMs_ = 0;
    AudioSource* audioSource_ = nullptr;
    int audioRate_ = 0;
};

}  // namespace plat
