#pragma once
// Runs the whole program (start-up, loop, shutdown) on the headless host, with a per-turn hook
// and a per-frame hook, from the program-start state.

#include <functional>

#include "app/program_state.h"
#include "app/shell.h"
#include "platform/headless/headless_host.h"

namespace testing_support {

class ShellHarness : public plat::HeadlessHost::Driver {
  public:
    explicit ShellHarness(const plat::HeadlessConfig& config = plat::HeadlessConfig{})
        : host(config) {
        host.config().printMessageBoxes = false;
        resetProgramState();
        plat::setHost(&host);
        host.setDriver(this);
        host.recordCalls(true);
        current() = this;
        setFrameObserver([] { current()->frameDone(); });
    }
    ~ShellHarness() override {
        setFrameObserver(nullptr);
        host.setDriver(nullptr);
        plat::setHost(nullptr);
        current() = nullptr;
    }

    // Runs winMain; a run that would not end by itself is closed after `maxTurns` loop turns.
    int run(uint64_t maxTurns = 100000) {
        maxTurns_ = maxTurns;
        return winMain();
    }

    void onTurn(plat::HeadlessHost& h) override {
        if (onTurnHook) onTurnHook(h);
        if (h.turns() >= maxTurns_ && !closed_) {
            h.requestClose();
            closed_ = true;
        }
    }

    plat::HeadlessHost host;
    uint64_t frames = 0;
    std::function<void(plat::HeadlessHost&)> onTurnHook;
    std::function<void(uint64_t frame)> onFrameHook;  // after frame `frame` (from 0) ran

  private:
    static ShellHarness*& current() {
        static ShellHarness* harness = nullptr;
        return harness;
    }
    void frameDone() {
        const uint64_t frame = frames++;
        if (onFrameHook) onFrameHook(frame);
    }
    uint64_t maxTurns_ = 0;
    bool closed_ = false;
};

}  // namespace testing_support
