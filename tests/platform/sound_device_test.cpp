#include "platform/audio/sound_device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/headless/headless_host.h"

namespace {

using Samples = std::vector<int16_t>;

class SoundDeviceTest : public testing::Test {
  protected:
    void SetUp() override {
        plat::soundFaults() = plat::SoundFaults{};
        plat::setHost(&host_);
    }
    void TearDown() override {
        plat::releaseRef(device_);
        plat::soundFaults() = plat::SoundFaults{};
        plat::setHost(nullptr);
    }

    plat::SoundDevice* open() {
        EXPECT_EQ(plat::createSoundDevice(&device_), plat::kOk);
        return device_;
    }

    // A 16-bit mono 44100 Hz buffer of `bytes` bytes.
    plat::Result create(uint32_t bytes, plat::SoundBuffer** out, uint16_t bits = 16,
                        uint16_t formatTag = plat::kWaveFormatPcm) {
        format_.formatTag = formatTag;
        format_.channels = 1;
        format_.samplesPerSec = 44100;
        format_.bitsPerSample = bits;
        format_.blockAlign = bits / 8;
        plat::SoundBufferDesc desc;
        desc.flags = plat::soundCaps::Static;
        desc.bufferBytes = bytes;
        desc.format = &format_;
        return device_->createSoundBuffer(desc, out);
    }

    Samples pull(int frames) {
        Samples out(static_cast<size_t>(frames) * 2, 777);
        host_.audioSource()->mix(out.data(), frames);
        return out;
    }

    plat::HeadlessHost host_;
    plat::SoundDevice* device_ = nullptr;
    plat::WaveFormat format_;
};

}  // namespace

TEST_F(SoundDeviceTest, OpensTheHostOutputAndClosesItWithTheLastReference) {
    ASSERT_NE(open(), nullptr);
    EXPECT_EQ(host_.audioRate(), 44100);
    EXPECT_EQ(host_.audioSource(), &device_->mixer());
    plat::SoundBuffer* buffer = nullptr;
    ASSERT_EQ(create(8, &buffer), plat::kOk);
    // The buffer holds the device: the output stays open until the buffer goes too.
    plat::releaseRef(device_);
    EXPECT_NE(host_.audioSource(), nullptr);
    EXPECT_EQ(buffer->play(0, 0, 0), plat::kOk);
    pull(4);
    plat::releaseRef(buffer);
    EXPECT_EQ(host_.audioSource(), nullptr);
}

TEST_F(SoundDeviceTest, NoAudioOutputMeansNoDevice) {
    host_.config().audio = false;
    EXPECT_EQ(plat::createSoundDevice(&device_), plat::kSoundNoDriver);
    EXPECT_EQ(device_, nullptr);
    EXPECT_EQ(host_.audioSource(), nullptr);
}

TEST_F(SoundDeviceTest, CooperativeLevelNeedsAWindowAndALevel) {
    open();
    EXPECT_EQ(device_->setCooperativeLevel(nullptr, plat::soundCoop::Normal), plat::kInvalidArg);
    plat::soundFaults().cooperativeLevel = true;
    EXPECT_LT(device_->setCooperativeLevel(nullptr, plat::soundCoop::Normal), 0);
}

TEST_F(SoundDeviceTest, RefusedDescriptions) {
    open();
    plat::SoundBuffer* buffer = nullptr;
    EXPECT_EQ(create(3, &buffer), plat::kInvalidArg);  // below the smallest buffer
    EXPECT_EQ(create(plat::kMaxSoundBufferBytes + 1, &buffer), plat::kInvalidArg);
    EXPECT_EQ(create(8, &buffer, 24), plat::kSoundBadFormat);
    EXPECT_EQ(create(8, &buffer, 16, 3), plat::kSoundBadFormat);  // floating point
    // More than ten minutes once converted: refused before anything is allocated.
    EXPECT_EQ(create(44100 * 2 * 601, &buffer), plat::kOutOfMemory);
    plat::SoundBufferDesc desc;
    desc.size = 40;
    desc.bufferBytes = 8;
    desc.format = &format_;
    EXPECT_EQ(device_->createSoundBuffer(desc, &buffer), plat::kInvalidArg);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(device_->mixer().openVoices(), 0);
}

// A fresh buffer locked from its write cursor gives one region; a lock that runs past the end
// wraps into a second region at the start.
TEST_F(SoundDeviceTest, LockRegions) {
    open();
    plat::SoundBuffer* buffer = nullptr;
    ASSERT_EQ(create(400, &buffer), plat::kOk);
    void *p1 = nullptr, *p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    ASSERT_EQ(buffer->lock(0, 400, &p1, &n1, &p2, &n2, plat::soundLock::FromWriteCursor),
              plat::kOk);
    EXPECT_EQ(n1, 400u);
    EXPECT_EQ(n2, 0u);
    EXPECT_EQ(p2, nullptr);
    void* other = nullptr;
    uint32_t otherBytes = 0;
    EXPECT_EQ(buffer->lock(0, 4, &other, &otherBytes, nullptr, nullptr, 0),
              plat::kFail);  // already locked
    EXPECT_EQ(buffer->unlock(p1, 400, nullptr, 0), plat::kOk);
    EXPECT_EQ(buffer->unlock(p1, 400, nullptr, 0), plat::kInvalidArg);  // not locked

    ASSERT_EQ(buffer->setCurrentPosition(100), plat::kOk);
    uint32_t play = 0, write = 0;
    buffer->getCurrentPosition(&play, &write);
    EXPECT_EQ(write, 100u);
    void *q1 = nullptr, *q2 = nullptr;
    ASSERT_EQ(buffer->lock(0, 400, &q1, &n1, &q2, &n2, plat::soundLock::FromWriteCursor),
              plat::kOk);
    EXPECT_EQ(static_cast<uint8_t*>(q1) - static_cast<uint8_t*>(p1), 100);
    EXPECT_EQ(n1, 300u);
    EXPECT_EQ(q2, p1);
    EXPECT_EQ(n2, 100u);
    // Unlocking must name the regions the lock gave, with no more than their byte counts.
    EXPECT_EQ(buffer->unlock(q1, 301, q2, 100), plat::kInvalidArg);
    EXPECT_EQ(buffer->unlock(q1, 300, p1, 100), plat::kOk);

    EXPECT_EQ(buffer->lock(400, 1, &p1, &n1, &p2, &n2, 0), plat::kInvalidArg);
    EXPECT_EQ(buffer->lock(0, 401, &p1, &n1, &p2, &n2, 0), plat::kInvalidArg);
    EXPECT_EQ(buffer->setCurrentPosition(400), plat::kInvalidArg);
    plat::releaseRef(buffer);
}

// What is written under a lock is what the mixer plays after the unlock; a new buffer is silent.
TEST_F(SoundDeviceTest, UnlockHandsTheContentToTheMixer) {
    open();
    plat::SoundBuffer* buffer = nullptr;
    ASSERT_EQ(create(8, &buffer, 8), plat::kOk);  // 8-bit: silence is 128, not 0
    buffer->play(0, 0, 0);
    EXPECT_EQ(pull(8), Samples(16, 0));

    void *p1 = nullptr, *p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    ASSERT_EQ(buffer->lock(0, 8, &p1, &n1, &p2, &n2, plat::soundLock::FromWriteCursor), plat::kOk);
    std::memset(p1, 0x90, n1);
    ASSERT_EQ(buffer->unlock(p1, n1, p2, n2), plat::kOk);
    buffer->setCurrentPosition(0);
    buffer->play(0, 0, 0);
    EXPECT_EQ(pull(10), (Samples{4096, 4096, 4096, 4096, 4096, 4096, 4096, 4096, 4096, 4096,
                                 4096, 4096, 4096, 4096, 4096, 4096, 0,    0,    0,    0}));
    EXPECT_EQ(buffer->play(0, 0, 1), plat::kInvalidArg);  // looping is not offered
    plat::releaseRef(buffer);
}

TEST_F(SoundDeviceTest, LostMemoryIsSilentUntilRestored) {
    open();
    plat::SoundBuffer* buffer = nullptr;
    ASSERT_EQ(create(8, &buffer), plat::kOk);
    void *p1 = nullptr, *p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    ASSERT_EQ(buffer->lock(0, 8, &p1, &n1, &p2, &n2, 0), plat::kOk);
    std::memset(p1, 0x11, n1);
    ASSERT_EQ(buffer->unlock(p1, n1, p2, n2), plat::kOk);

    buffer->loseMemory();
    EXPECT_EQ(buffer->play(0, 0, 0), plat::kSoundBufferLost);
    EXPECT_EQ(pull(4), Samples(8, 0));
    EXPECT_EQ(buffer->lock(0, 8, &p1, &n1, &p2, &n2, 0), plat::kSoundBufferLost);

    plat::soundFaults().restore = true;
    EXPECT_EQ(buffer->restore(), plat::kSoundBufferLost);
    EXPECT_TRUE(buffer->lost());
    plat::soundFaults().restore = false;
    EXPECT_EQ(buffer->restore(), plat::kOk);
    // The content did not survive: the restored buffer plays silence.
    EXPECT_EQ(buffer->play(0, 0, 0), plat::kOk);
    EXPECT_EQ(pull(4), Samples(8, 0));
    EXPECT_EQ(buffer->lock(0, 8, &p1, &n1, &p2, &n2, 0), plat::kOk);
    EXPECT_EQ(static_cast<uint8_t*>(p1)[0], 0);
    buffer->unlock(p1, 0, p2, 0);
    plat::releaseRef(buffer);
}
