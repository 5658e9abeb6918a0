// Keyboard input: the direction table, held and newly-pressed buttons, and the device's failures.

#include "input/input.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/shell.h"
#include "platform/headless/headless_host.h"
#include "platform/keyboard.h"

namespace {

struct Keys {
    uint8_t bytes[256] = {};
    Keys& down(uint8_t scan) {
        bytes[scan] = 0x80;
        return *this;
    }
};

class InputTest : public ::testing::Test {
  protected:
    void SetUp() override { resetInputState(); }
    void poll(const Keys& k) { resolveInput(k.bytes); }
};

}  // namespace

TEST_F(InputTest, DirectionForEveryArrowCombination) {
    using namespace plat::scan;
    // Bits: up, down, left, right.
    const int8_t expected[16] = {
        5,  // none
        8,  // up
        2,  // down
        2,  // up+down
        4,  // left
        7,  // left+up
        1,  // left+down
        1,  // left+up+down
        6,  // right
        9,  // right+up
        3,  // right+down
        3,  // right+up+down
        6,  // right+left
        9,  // right+left+up
        3,  // right+left+down
        3,  // all four
    };
    for (int bits = 0; bits < 16; ++bits) {
        Keys k;
        if (bits & 1) k.down(Up);
        if (bits & 2) k.down(Down);
        if (bits & 4) k.down(Left);
        if (bits & 8) k.down(Right);
        resetInputState();
        poll(k);
        EXPECT_EQ(heldInput.direction, expected[bits]) << "arrow bits " << bits;
    }
}

TEST_F(InputTest, ButtonsAndTheirBindings) {
    struct Case {
        uint8_t scan;
        int button;  // 0 A, 1 B, 2 C, 3 D, -1 none
    };
    const Case cases[] = {{plat::scan::Return, 0},
                          {plat::scan::Z, 0},
                          {plat::scan::Space, 0},
                          {plat::scan::X, 1},
                          {plat::scan::C, 2},
                          {plat::scan::V, 3},
                          {0x9C, -1} /* keypad Enter */,
                          {0x48, -1} /* keypad 8 */};
    for (const Case& c : cases) {
        resetInputState();
        poll(Keys{}.down(c.scan));
        const uint8_t held[4] = {heldInput.buttonA, heldInput.buttonB, heldInput.buttonC,
                                 heldInput.buttonD};
        for (int b = 0; b < 4; ++b) EXPECT_EQ(held[b], b == c.button ? 1 : 0) << int(c.scan);
        EXPECT_EQ(heldInput.direction, 5);
    }
}

TEST_F(InputTest, DirectionPressOnlyFromNeutral) {
    using namespace plat::scan;
    poll(Keys{});
    poll(Keys{}.down(Up));
    EXPECT_EQ(pressedInput.direction, 8);
    poll(Keys{}.down(Up).down(Right));  // 8 -> 9 is not a new press
    EXPECT_EQ(heldInput.direction, 9);
    EXPECT_EQ(pressedInput.direction, 5);
    poll(Keys{});
    poll(Keys{}.down(Left));  // one neutral frame, then left
    EXPECT_EQ(pressedInput.direction, 4);
    poll(Keys{}.down(Left));
    EXPECT_EQ(pressedInput.direction, 5);
}

TEST_F(InputTest, ButtonPressIsAnEdgeOfTheButtonNotOfTheKey) {
    using namespace plat::scan;
    poll(Keys{}.down(Space));
    EXPECT_EQ(pressedInput.buttonA, 1);  // held through the very first poll: a press
    poll(Keys{}.down(Space).down(Z));
    EXPECT_EQ(heldInput.buttonA, 1);
    EXPECT_EQ(pressedInput.buttonA, 0);  // Z while Space is held is no new press
}

TEST_F(InputTest, FirstPollReportsNoDirectionPress) {
    poll(Keys{}.down(plat::scan::Left));
    EXPECT_EQ(heldInput.direction, 4);
    EXPECT_EQ(pressedInput.direction, 5);  // the start-up direction is 0, not 5
}

TEST_F(InputTest, UnreadableFrameClearsHeldAndTheNextFramePressesAgain) {
    poll(Keys{}.down(plat::scan::X).down(plat::scan::Up));
    poll(Keys{}.down(plat::scan::X).down(plat::scan::Up));
    EXPECT_EQ(pressedInput.buttonB, 0);
    resolveInput(nullptr);
    EXPECT_EQ(heldInput.direction, 5);
    EXPECT_EQ(heldInput.buttonB, 0);
    poll(Keys{}.down(plat::scan::X).down(plat::scan::Up));
    EXPECT_EQ(pressedInput.buttonB, 1);
    EXPECT_EQ(pressedInput.direction, 8);
}

// The device: every set-up failure makes initInput false; a failed acquisition or read gives a
// frame with no keys.
class InputDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::setHost(&host);
        plat::resetWindowing();
        plat::keyboardFaults() = {};
        resetInputState();
        plat::WindowClass wc;
        wc.className = "test";
        wc.procedure = [](plat::WindowHandle w, uint32_t m, uintptr_t wp, intptr_t lp) {
            return plat::defWindowProc(w, m, wp, lp);
        };
        plat::registerClass(wc);
        mainWindow = plat::createWindow("test", "test", 0, 0, 0, 100, 100);
    }
    void TearDown() override {
        releaseInput();
        plat::keyboardFaults() = {};
        mainWindow = nullptr;
        plat::setHost(nullptr);
    }
    plat::HeadlessHost host;
};

TEST_F(InputDeviceTest, EachSetUpFailureFailsInit) {
    using F = plat::KeyboardFaults;
    const F faults[] = {{true, false, false, false, false, false},
                        {false, true, false, false, false, false},
                        {false, false, true, false, false, false},
                        {false, false, false, true, false, false}};
    for (const F& f : faults) {
        plat::keyboardFaults() = f;
        EXPECT_FALSE(initInput());
        releaseInput();
    }
    plat::keyboardFaults() = {};
    EXPECT_TRUE(initInput());
}

TEST_F(InputDeviceTest, AcquireFailureIsNotFatalAndPollsGiveKeysAgainLater) {
    plat::keyboardFaults().acquire = true;
    ASSERT_TRUE(initInput());
    host.setKey(plat::scan::Space, true);
    pollInput();
    EXPECT_EQ(heldInput.buttonA, 0);
    plat::keyboardFaults().acquire = false;
    pollInput();  // every poll acquires again
    EXPECT_EQ(heldInput.buttonA, 1);
    EXPECT_EQ(pressedInput.buttonA, 1);
    plat::keyboardFaults().read = true;
    pollInput();
    EXPECT_EQ(heldInput.buttonA, 0);
}

TEST_F(InputDeviceTest, KeyboardStaysReadableWhileInactive) {
    ASSERT_TRUE(initInput());
    host.setActive(false);
    host.setKey(plat::scan::Right, true);
    pollInput();
    EXPECT_EQ(heldInput.direction, 6);
}
