#include "tools/replay/replay.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/program_state.h"
#include "app/shell.h"
#include "platform/headless/headless_host.h"
#include "sound/sound.h"
#include "tools/replay/png_writer.h"
#include "tools/replay/trace.h"
#include "tools/replay/wav_writer.h"

namespace replay {
namespace {

constexpr int kDefaultAudioRate = 44100;
constexpr int kRefreshRate = 60;

bool parseUnsigned(const std::string& s, uint64_t& out) {
    if (s.empty() || s.size() > 18) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    out = std::stoull(s);
    return true;
}

bool parseSigned(const std::string& s, int64_t& out) {
    uint64_t magnitude = 0;
    const bool negative = !s.empty() && s[0] == '-';
    if (!parseUnsigned(negative ? s.substr(1) : s, magnitude)) return false;
    out = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

// Feeds the script to the headless host turn by turn and collects what each frame produced.
class Run : public plat::HeadlessHost::Driver {
  public:
    Run(const Options& options, plat::HeadlessHost& host) : options_(options), host_(host) {}

    bool openOutputs(std::string& error) {
        if (!options_.tracePath.empty()) {
            trace_ = std::fopen(options_.tracePath.c_str(), "w");
            if (!trace_) {
                error = "cannot write trace '" + options_.tracePath + "'";
                return false;
            }
        }
        if (!options_.shotsDir.empty()) {
            // The folder for the pictures is made when missing, like `mkdir -p`.
            std::error_code ignored;
            std::filesystem::create_directories(options_.shotsDir, ignored);
        }
        if (!options_.audioPath.empty() && !wav_.open(options_.audioPath, audioRate())) {
            error = "cannot write audio '" + options_.audioPath + "'";
            return false;
        }
        return true;
    }

    void closeOutputs(std::string& error) {
        if (trace_ && std::fclose(trace_) != 0) error = "cannot finish the trace";
        trace_ = nullptr;
        if (!wav_.close()) error = "cannot finish the audio file";
    }

    void onTurn(plat::HeadlessHost& host) override {
        if (pauseLeft_ > 0) {
            if (--pauseLeft_ == 0) host.setActive(true);
            return;
        }
        const auto& events = options_.script;
        while (next_ < events.size() && events[next_].frame <= frames_) {
            const ScriptEvent& e = events[next_++];
            apply(e);
            if (e.action == Action::Pause) return;
        }
        if (frames_ >= options_.frames && !closeSent_) {
            host.requestClose();
            closeSent_ = true;
        }
    }

    // After each frame the loop ran, after its presentation.
    void afterFrame() {
        const uint64_t frame = frames_++;
        if (trace_ && options_.traceFrames.contains(frame)) writeTraceLine(trace_, frame, sounds_);
        sounds_.count = 0;
        if (!options_.shotsDir.empty() && options_.shotFrames.contains(frame) &&
            !host_.lastFrame().empty()) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame-%06llu.png",
                          static_cast<unsigned long long>(frame));
            if (!writePng(options_.shotsDir + name, host_.lastFrame().data(), 320, 240))
                shotError_ = true;
        }
        if (!options_.audioPath.empty()) pullAudio();
        // A tapped key is down for its own frame only.
        for (int i = 0; i < tapCount_; ++i) host_.setKey(taps_[i], false);
        tapCount_ = 0;
    }

    void onSound(int slot) { sounds_.add(slot); }
    uint64_t frames() const { return frames_; }
    bool shotError() const { return shotError_; }

  private:
    int audioRate() const { return host_.audioSource() ? host_.audioRate() : kDefaultAudioRate; }

    void pullAudio() {
        const int count = audioRate() / kRefreshRate;
        if (static_cast<int>(mix_.size()) < count * 2) mix_.resize(count * 2);
        if (host_.audioSource()) {
            host_.audioSource()->mix(mix_.data(), count);
        } else {
            std::fill(mix_.begin(), mix_.end(), 0);
        }
        wav_.write(mix_.data(), count);
    }

    void apply(const ScriptEvent& e) {
        switch (e.action) {
            case Action::Press:
            case Action::Tap:
                host_.setKey(e.key.scanCode, true);
                if (e.key.virtualKey) host_.pressWindowKey(e.key.virtualKey);
                if (e.action == Action::Tap && tapCount_ < kMaxTaps)
                    taps_[tapCount_++] = e.key.scanCode;
                break;
            case Action::Release:
                host_.setKey(e.key.scanCode, false);
                break;
            case Action::Pause:
                host_.setActive(false);
                pauseLeft_ = e.turns;
                if (pauseLeft_ == 0) host_.setActive(true);
                break;
            case Action::Close:
                host_.requestClose();
                break;
        }
    }

    static constexpr int kMaxTaps = 16;
    const Options& options_;
    plat::HeadlessHost& host_;
    size_t next_ = 0;
    uint64_t frames_ = 0;
    uint64_t pauseLeft_ = 0;
    bool closeSent_ = false;
    uint8_t taps_[kMaxTaps] = {};
    int tapCount_ = 0;
    FrameSounds sounds_;
    FILE* trace_ = nullptr;
    WavWriter wav_;
    std::vector<int16_t> mix_;
    bool shotError_ = false;
};

Run* current = nullptr;
void frameDone() {
    current->afterFrame();
}
void soundPlayed(int slot) {
    current->onSound(slot);
}

}  // namespace

bool parseArguments(int argc, char** argv, Options& options, std::string& error) {
    bool shotFramesGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "--frames") {
            if (!value(v)) return false;
            if (!parseUnsigned(v, options.frames)) {
                error = "--frames needs a whole number, not '" + v + "'";
                return false;
            }
        } else if (arg == "--time") {
            if (!value(v)) return false;
            if (!parseSigned(v, options.time)) {
                error = "--time needs whole seconds, not '" + v + "'";
                return false;
            }
            options.timeGiven = true;
        } else if (arg == "--script") {
            if (!value(v) || !loadScript(v, options.script, error)) return false;
        } else if (arg == "--trace") {
            if (!value(options.tracePath)) return false;
        } else if (arg == "--trace-frames") {
            if (!value(v)) return false;
            if (!options.traceFrames.parse(v, error)) {
                error = "--trace-frames: " + error;
                return false;
            }
        } else if (arg == "--shots") {
            if (!value(options.shotsDir)) return false;
        } else if (arg == "--shot-frames") {
            if (!value(v)) return false;
            if (!options.shotFrames.parse(v, error)) {
                error = "--shot-frames: " + error;
                return false;
            }
            shotFramesGiven = true;
        } else if (arg == "--audio") {
            if (!value(options.audioPath)) return false;
        } else {
            error = "unknown argument '" + arg + "'";
            return false;
        }
    }
    if (shotFramesGiven && options.shotsDir.empty()) {
        error = "--shot-frames needs --shots DIR";
        return false;
    }
    return true;
}

Outcome run(const Options& options) {
    Outcome outcome;
    plat::HeadlessConfig config;
    config.time = options.timeGiven ? options.time : static_cast<int64_t>(std::time(nullptr));
    plat::HeadlessHost host(config);
    resetProgramState();
    plat::setHost(&host);

    Run driver(options, host);
    if (!driver.openOutputs(outcome.error)) {
        outcome.exitCode = 2;
        return outcome;
    }
    host.setDriver(&driver);
    current = &driver;
    setFrameObserver(frameDone);
    setSoundObserver(soundPlayed);

    outcome.exitCode = winMain();

    setFrameObserver(nullptr);
    setSoundObserver(nullptr);
    host.setDriver(nullptr);
    current = nullptr;
    driver.closeOutputs(outcome.error);
    if (driver.shotError() && outcome.error.empty())
        outcome.error = "cannot write a picture into '" + options.shotsDir + "'";
    outcome.frames = driver.frames();
    plat::setHost(nullptr);
    return outcome;
}

}  // namespace replay
