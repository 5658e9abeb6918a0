#include "sound/sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/shell.h"
#include "platform/audio/mixer.h"
#include "platform/audio/sound_device.h"
#include "platform/headless/headless_host.h"
#include "platform/window.h"
#include "sound/wav_fixture.h"

using namespace wavfix;

namespace {

using Samples = std::vector<int16_t>;

intptr_t quietProc(plat::WindowHandle w, uint32_t m, uintptr_t wp, intptr_t lp) {
    return plat::defWindowProc(w, m, wp, lp);
}

std::vector<int> requests;
void recordRequest(int slot) {
    requests.push_back(slot);
}

// A ramp of 16-bit mono samples first, first+1, ... (distinct values show where a sound is).
Bytes ramp(int count, int first) {
    Bytes b;
    for (int i = 0; i < count; ++i) put16(b, static_cast<uint16_t>(first + i));
    return b;
}

class SoundTest : public testing::Test {
  protected:
    void SetUp() override { start(plat::HeadlessConfig{}); }
    void TearDown() override {
        releaseSound();
        setSoundObserver(nullptr);
        plat::soundFaults() = plat::SoundFaults{};
        plat::resetWindowing();
        mainWindow = nullptr;
        plat::setHost(nullptr);
    }

    // Opens the main window on a host made with `config` and runs initSound.
    bool start(const plat::HeadlessConfig& config) {
        host_ = std::make_unique<plat::HeadlessHost>(config);
        plat::setHost(host_.get());
        plat::soundFaults() = plat::SoundFaults{};
        plat::resetWindowing();
        plat::WindowClass cls;
        cls.procedure = quietProc;
        cls.className = "sound-test";
        plat::registerClass(cls);
        mainWindow = plat::createWindow("sound-test", "sound-test", 0, 0, 0, 320, 240);
        return initSound();
    }

    plat::Mixer* mixer() { return dynamic_cast<plat::Mixer*>(host_->audioSource()); }
    int loadedBuffers() { return mixer() ? mixer()->openVoices() : 0; }

    Samples pull(int frames) {
        Samples out(static_cast<size_t>(frames) * 2, 0);
        if (host_->audioSource()) host_->audioSource()->mix(out.data(), frames);
        return out;
    }

    bool load(const Bytes& file, int slot, const std::string& name = "slot.wav") {
        return loadSoundSlot(writeTemp(file, name).c_str(), slot);
    }

    std::unique_ptr<plat::HeadlessHost> host_;
};

}  // namespace

// Which files load: the acceptance rules of the WAV reader together with what the mixer plays.
TEST_F(SoundTest, AcceptedAndRefusedFiles) {
    const Format mono16{1, 1, 44100, 16};
    const Bytes sound = ramp(4, 1);
    const Bytes fmt16 = chunk("fmt ", fmtData(mono16, /*withExtra=*/false));
    Format floatFormat = mono16;
    floatFormat.tag = 3;
    Format bits24 = mono16;
    bits24.bits = 24;
    struct Case {
        const char* name;
        Bytes file;
        bool loads;
    };
    const Case cases[] = {
        {"18-byte fmt", wav(mono16, sound), true},
        // The 18-byte read runs 2 bytes into the next chunk's header; PCM ignores them.
        {"16-byte fmt", riff(cat({fmt16, chunk("data", sound)})), true},
        {"16-byte fmt, float tag",
         riff(cat({chunk("fmt ", fmtData(floatFormat, false)), chunk("data", sound)})), false},
        {"float tag", wav(floatFormat, sound), false},
        {"24-bit PCM: no buffer for it", wav(bits24, Bytes(12, 0)), false},
        {"data larger than the file",
         riff(cat({chunk("fmt ", fmtData(mono16)), chunk("data", sound, 1000)})), false},
        {"data larger than the file and its RIFF",
         riff(cat({chunk("fmt ", fmtData(mono16)), chunk("data", sound, 0x7FFFFFFF)}), "WAVE",
              0x7FFFFFFF),
         false},
        {"data before fmt", riff(cat({chunk("data", sound), chunk("fmt ", fmtData(mono16))})),
         false},
        {"chunks between fmt and data",
         riff(cat({chunk("LIST", {1, 2, 3}), chunk("fmt ", fmtData(mono16)),
                   chunk("fact", {4, 0, 0, 0}), chunk("data", sound)})),
         true},
        {"no data", riff(chunk("fmt ", fmtData(mono16))), false},
        {"no fmt", riff(chunk("data", sound)), false},
        {"fmt cut short at the end", riff(chunk("fmt ", Bytes(10, 1))), false},
        {"empty data", wav(mono16, {}), false},
        {"not WAVE", riff(cat({chunk("fmt ", fmtData(mono16)), chunk("data", sound)}), "AVI "),
         false},
        {"not RIFF",
         chunk("RIFX", cat({Bytes{'W', 'A', 'V', 'E'}, chunk("fmt ", fmtData(mono16)),
                            chunk("data", sound)})),
         false},
        {"empty file", Bytes{}, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(load(c.file, 3, "case" + std::to_string(n++) + ".wav"), c.loads);
        EXPECT_EQ(loadedBuffers(), c.loads ? 1 : 0);
        playSound(3);
        const Samples out = pull(6);
        if (c.loads) {
            EXPECT_EQ(out, (Samples{1, 1, 2, 2, 3, 3, 4, 4, 0, 0, 0, 0}));
        } else {
            EXPECT_EQ(out, Samples(12, 0));
        }
    }
    EXPECT_FALSE(loadSoundSlot("no/such/file.wav", 3));
    EXPECT_EQ(loadedBuffers(), 0);
}

// A file cut anywhere inside its chunks does not load; bytes past the end of the RIFF chunk do
// not matter. No cut crashes or hangs.
TEST_F(SoundTest, EveryTruncationIsRefused) {
    const Bytes whole = wav({1, 2, 22050, 16}, ramp(64, -32));
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE(cut);
        EXPECT_FALSE(load(Bytes(whole.begin(), whole.begin() + cut), 0));
    }
    EXPECT_TRUE(load(whole, 0));
    EXPECT_TRUE(load(cat({whole, Bytes{1, 2, 3}}), 0));
}

// Size fields overwritten with awkward values: every load either succeeds or leaves the slot
// empty, and none reads outside what it allocated (this runs under the sanitizers in CI).
TEST_F(SoundTest, CorruptSizesAreHandledSafely) {
    const Bytes whole = riff(cat({chunk("LIST", {1, 2, 3}), chunk("fmt ", fmtData({1, 1, 8000, 8})),
                                  chunk("data", Bytes(40, 0x90))}));
    const uint32_t values[] = {0,    1,          2,           3,           4,          15,
                               16,   17,         18,          39,          40,         41,
                               1000, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFF7u, 0xFFFFFFFFu};
    const size_t sizeFields[] = {4, 16, 32, 54};  // RIFF, LIST, fmt, data
    for (size_t field : sizeFields) {
        for (uint32_t v : values) {
            Bytes file = whole;
            for (int i = 0; i < 4; ++i) file[field + i] = static_cast<uint8_t>(v >> (8 * i));
            const bool loaded = load(file, 1);
            EXPECT_EQ(loadedBuffers(), loaded ? 1 : 0);
        }
    }
}

// The file's own format is converted for the 44100 Hz stereo output.
TEST_F(SoundTest, PlaysTheFilesOwnFormat) {
    // 8-bit unsigned mono at 22050 Hz: each input sample becomes two output frames, the second
    // halfway to the next sample, on both channels.
    ASSERT_TRUE(load(wav({1, 1, 22050, 8}, {0x80, 0xC0, 0x40, 0x40}), 0));
    playSound(0);
    EXPECT_EQ(pull(9), (Samples{0, 0, 8192, 8192, 16384, 16384, 0, 0, -16384, -16384, -16384,
                                -16384, -16384, -16384, -16384, -16384, 0, 0}));
}

// Two plays of slot 2 in quick succession restart the torpedo sound instead of overlapping a
// second copy; another slot sounds on meanwhile.
TEST_F(SoundTest, PlayRestartsItsSlotOnly) {
    ASSERT_TRUE(load(wav({1, 1, 44100, 16}, ramp(1000, 1)), 2, "syu.wav"));
    ASSERT_TRUE(load(wav({1, 1, 44100, 16}, ramp(1000, 10000)), 1, "ban.wav"));
    playSound(2);
    const Samples first = pull(300);
    EXPECT_EQ(first[0], 1);
    EXPECT_EQ(first[299 * 2], 300);

    playSound(1);
    playSound(2);
    playSound(2);  // twice in one frame: still a single copy
    const Samples both = pull(300);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(both[i * 2], (1 + i) + (10000 + i)) << i;
        ASSERT_EQ(both[i * 2 + 1], both[i * 2]);
    }
    playSound(2);
    const Samples again = pull(300);
    EXPECT_EQ(again[0], 1 + (10000 + 300));
}

TEST_F(SoundTest, EmptySlotsAndSlotsOutOfRangeDoNothing) {
    ASSERT_TRUE(load(wav({1, 1, 44100, 16}, ramp(10, 5)), 2));
    requests.clear();
    setSoundObserver(recordRequest);
    playSound(7);  // empty
    playSound(16);
    EXPECT_EQ(pull(4), Samples(8, 0));
    // Every request reaches the observer, loaded or not.
    playSound(2);
    EXPECT_EQ(requests, (std::vector<int>{7, 16, 2}));

    // Slot 16 is ignored: nothing loaded, nothing released.
    const std::string path = writeTemp(wav({1, 1, 44100, 16}, ramp(10, 5)), "sixteen.wav");
    EXPECT_FALSE(loadSoundSlot(path.c_str(), 16));
    EXPECT_FALSE(loadSoundSlot(path.c_str(), 1000));
    EXPECT_EQ(loadedBuffers(), 1);
    EXPECT_EQ(pull(2), (Samples{5, 5, 6, 6}));
}

// Loading into an occupied slot releases the old buffer first, even when the new file fails.
TEST_F(SoundTest, ReloadReleasesTheOldBufferEvenOnFailure) {
    ASSERT_TRUE(load(wav({1, 1, 44100, 16}, ramp(10, 5)), 4));
    ASSERT_TRUE(load(wav({1, 1, 44100, 16}, ramp(10, 50)), 4));
    EXPECT_EQ(loadedBuffers(), 1);
    playSound(4);
    EXPECT_EQ(pull(1), (Samples{50, 50}));

    EXPECT_FALSE(loadSoundSlot("no/such/file.wav", 4));
    EXPECT_EQ(loadedBuffers(), 0);
    playSound(4);
    EXPECT_EQ(pull(4), Samples(8, 0));
}

// Without an audio output there is no device: every load fails, plays do nothing, shutdown is
// clean.
TEST_F(SoundTest, NoAudioDeviceRunsSilent) {
    plat::HeadlessConfig config;
    config.audio = false;
    releaseSound();
    EXPECT_FALSE(start(config));
    EXPECT_EQ(host_->audioSource(), nullptr);
    EXPECT_FALSE(load(wav({1, 1, 44100, 16}, ramp(10, 5)), 0));
    playSound(0);
    playSound(15);
    releaseSound();
    releaseSound();
}

// A refused cooperative level makes initSound report failure, but the device stays in use.
TEST_F(SoundTest, RefusedCooperativeLevelKeepsTheDevice) {
    releaseSound();
    plat::soundFaults().cooperativeLevel = true;
    EXPECT_FALSE(initSound());
    ASSERT_TRUE(load(wav({1, 1, 44100, 16}, ramp(10, 5)), 0));
    playSound(0);
    EXPECT_EQ(pull(1), (Samples{5, 5}));
}

// Memory lost before the fill is restored and locked once more. When the fill fails anyway,
// the load reports failure but the created buffer stays in its slot, silent.
TEST_F(SoundTest, FillFailures) {
    const Bytes file = wav({1, 1, 44100, 16}, ramp(10, 5));
    plat::soundFaults().newBuffersLost = true;
    ASSERT_TRUE(load(file, 0));
    playSound(0);
    EXPECT_EQ(pull(1), (Samples{5, 5}));

    struct Case {
        const char* name;
        plat::SoundFaults faults;
    };
    plat::SoundFaults lostForGood;
    lostForGood.newBuffersLost = lostForGood.restore = true;
    plat::SoundFaults lockFails;
    lockFails.lock = true;
    plat::SoundFaults unlockFails;
    unlockFails.unlock = true;
    for (const Case& c : {Case{"restore fails", lostForGood}, Case{"lock fails", lockFails},
                          Case{"unlock fails", unlockFails}}) {
        SCOPED_TRACE(c.name);
        plat::soundFaults() = c.faults;
        EXPECT_FALSE(load(file, 0));
        EXPECT_EQ(loadedBuffers(), 1);  // the buffer is in the slot
        plat::soundFaults() = plat::SoundFaults{};
        playSound(0);
        EXPECT_EQ(pull(2), Samples(4, 0));
    }
    plat::soundFaults().createBuffer = true;
    EXPECT_FALSE(load(file, 0));
    EXPECT_EQ(loadedBuffers(), 0);
}

TEST_F(SoundTest, ReleaseEmptiesEverySlotAndClosesTheOutput) {
    for (int slot : {0, 5, 15}) ASSERT_TRUE(load(wav({1, 2, 44100, 16}, ramp(8, 1)), slot));
    EXPECT_EQ(loadedBuffers(), 3);
    releaseSound();
    EXPECT_EQ(host_->audioSource(), nullptr);
    playSound(0);
    playSound(15);
}

// The game's five sound files, as start-up loads them (paths relative to the working folder,
// which is the source folder for the tests), load and sound.
TEST_F(SoundTest, TheGamesSoundFilesLoad) {
    const char* files[] = {"res/piko.wav", "res/ban.wav", "res/syu.wav", "res/gogo.wav",
                           "res/ga.wav"};
    int present = 0;
    for (const char* f : files) present += std::filesystem::exists(f) ? 1 : 0;
    if (present == 0) GTEST_SKIP() << "no sound files in res/ yet";
    for (int slot = 0; slot < 5; ++slot) {
        SCOPED_TRACE(files[slot]);
        ASSERT_TRUE(loadSoundSlot(files[slot], slot));
        playSound(slot);
        const Samples out =
            pull(plat::Mixer::kOutputRate * 2);  // every effect is shorter than that
        EXPECT_TRUE(std::any_of(out.begin(), out.end(), [](int16_t v) { return v != 0; }));
        EXPECT_FALSE(mixer()->playing(slot));  // played to its end and stopped
    }
    EXPECT_EQ(loadedBuffers(), 5);
}
