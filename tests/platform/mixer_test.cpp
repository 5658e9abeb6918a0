#include "platform/audio/mixer.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/audio/pcm_convert.h"

namespace {

using Samples = std::vector<int16_t>;

plat::WaveFormat pcm(uint16_t channels, uint32_t rate, uint16_t bits) {
    plat::WaveFormat f;
    f.formatTag = plat::kWaveFormatPcm;
    f.channels = channels;
    f.samplesPerSec = rate;
    f.bitsPerSample = bits;
    f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
    f.avgBytesPerSec = rate * f.blockAlign;
    return f;
}

Samples convert(const plat::WaveFormat& f, const std::vector<uint8_t>& bytes) {
    Samples out(plat::convertedFrames(f, bytes.size(), 44100) * 2);
    plat::convertPcm(f, bytes.data(), bytes.size(), 44100, out.data());
    return out;
}

Samples mixFrames(plat::Mixer& m, int frames) {
    Samples out(static_cast<size_t>(frames) * 2, 12345);  // garbage the mix must overwrite
    m.mix(out.data(), frames);
    return out;
}

// A voice holding `frames` stereo frames, left = base + i, right = -(base + i).
int rampVoice(plat::Mixer& m, int frames, int base) {
    const int v = m.openVoice();
    Samples s;
    for (int i = 0; i < frames; ++i) {
        s.push_back(static_cast<int16_t>(base + i));
        s.push_back(static_cast<int16_t>(-(base + i)));
    }
    m.swapSamples(v, s);
    return v;
}

}  // namespace

TEST(PcmConvert, FormatsToStereo16At44100) {
    struct Case {
        const char* name;
        plat::WaveFormat format;
        std::vector<uint8_t> bytes;
        Samples expected;
    };
    const Case cases[] = {
        // Unsigned 8-bit: 128 is silence; mono goes to both channels.
        {"8-bit mono",
         pcm(1, 44100, 8),
         {0x80, 0xFF, 0x00, 0x81},
         {0, 0, 32512, 32512, -32768, -32768, 256, 256}},
        {"8-bit stereo", pcm(2, 44100, 8), {0x00, 0xFF}, {-32768, 32512}},
        {"16-bit stereo is copied",
         pcm(2, 44100, 16),
         {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F},
         {1, -1, -32768, 32767}},
        // 22050 -> 44100: every other output frame lies halfway between two input frames; past
        // the last frame it is held.
        {"16-bit mono 22050",
         pcm(1, 22050, 16),
         {0x00, 0x00, 0xE8, 0x03, 0x18, 0xFC},
         {0, 0, 500, 500, 1000, 1000, 0, 0, -1000, -1000, -1000, -1000}},
        // 11025 -> 44100: four output frames per input frame, a quarter apart.
        {"8-bit mono 11025",
         pcm(1, 11025, 8),
         {0x80, 0x84},
         {0, 0, 256, 256, 512, 512, 768, 768, 1024, 1024, 1024, 1024, 1024, 1024, 1024, 1024}},
        // A trailing partial frame is dropped.
        {"partial frame", pcm(2, 44100, 16), {0x10, 0x00, 0x20, 0x00, 0x30}, {16, 32}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(plat::convertiblePcm(c.format));
        EXPECT_EQ(convert(c.format, c.bytes), c.expected);
    }
}

TEST(PcmConvert, RefusesWhatItCannotConvert) {
    plat::WaveFormat floatTag = pcm(1, 44100, 16);
    floatTag.formatTag = 3;
    plat::WaveFormat badAlign = pcm(2, 44100, 16);
    badAlign.blockAlign = 2;
    const plat::WaveFormat refused[] = {floatTag,          pcm(1, 44100, 24), pcm(3, 44100, 16),
                                        pcm(0, 44100, 16), pcm(1, 0, 16),     pcm(1, 99, 8),
                                        pcm(1, 200001, 8), badAlign};
    for (const plat::WaveFormat& f : refused) EXPECT_FALSE(plat::convertiblePcm(f));
    EXPECT_TRUE(plat::convertiblePcm(pcm(1, 100, 8)));
    EXPECT_TRUE(plat::convertiblePcm(pcm(2, 200000, 16)));
}

TEST(Mixer, PlaysOnceThenFallsSilent) {
    plat::Mixer m;
    const int v = rampVoice(m, 300, 1);
    EXPECT_EQ(mixFrames(m, 10), Samples(20, 0));  // not started
    m.start(v);
    const Samples out = mixFrames(m, 400);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(out[i * 2], 1 + i);
        ASSERT_EQ(out[i * 2 + 1], -(1 + i));
    }
    for (int i = 600; i < 800; ++i) ASSERT_EQ(out[i], 0);
    EXPECT_FALSE(m.playing(v));
    EXPECT_EQ(m.position(v), 0u);
    EXPECT_EQ(mixFrames(m, 50), Samples(100, 0));
}

// Playing a voice again while it sounds restarts it: the output repeats the start of the sound,
// it does not add a second copy.
TEST(Mixer, RestartCutsOffTheEarlierPlayback) {
    plat::Mixer m;
    const int v = rampVoice(m, 1000, 100);
    m.start(v);
    const Samples first = mixFrames(m, 200);
    m.setPosition(v, 0);
    m.start(v);
    const Samples again = mixFrames(m, 200);
    EXPECT_EQ(again, first);
    EXPECT_EQ(again[0], 100);
}

TEST(Mixer, SumsVoicesAndClips) {
    plat::Mixer m;
    const int a = m.openVoice();
    const int b = m.openVoice();
    const int c = m.openVoice();
    Samples loud = {30000, -30000, 1000, -1000};
    Samples also = {30000, -30000, 2000, -2000};
    Samples quiet = {5, 6, 7, 8};
    m.swapSamples(a, loud);
    m.swapSamples(b, also);
    m.swapSamples(c, quiet);
    m.start(a);
    m.start(b);
    m.start(c);
    EXPECT_EQ(mixFrames(m, 3), (Samples{32767, -32768, 3007, -2992, 0, 0}));
}

// The mix is the same whatever the size of the pieces it is pulled in (the host pulls a
// frame's share at a time; the mixer works in chunks).
TEST(Mixer, PullSizeDoesNotChangeTheOutput) {
    auto run = [](const std::vector<int>& pulls) {
        plat::Mixer m;
        const int a = rampVoice(m, 700, 1);
        const int b = rampVoice(m, 450, 1000);
        m.start(a);
        Samples all;
        for (size_t i = 0; i < pulls.size(); ++i) {
            if (i == 2) m.start(b);
            const Samples part = mixFrames(m, pulls[i]);
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    };
    const Samples big = run({1, 99, 1000});
    EXPECT_EQ(run({1, 99, 735, 265}), big);
    EXPECT_EQ(run({1, 99, 256, 257, 1, 486}), big);
    EXPECT_EQ(big[100 * 2], 101 + 1000);  // both voices at frame 100
}

TEST(Mixer, VoiceTableIsFixed) {
    plat::Mixer m;
    for (int i = 0; i < plat::Mixer::kVoices; ++i) ASSERT_EQ(m.openVoice(), i);
    EXPECT_EQ(m.openVoice(), -1);
    m.closeVoice(5);
    EXPECT_EQ(m.openVoices(), plat::Mixer::kVoices - 1);
    EXPECT_EQ(m.openVoice(), 5);
    m.start(plat::Mixer::kVoices);  // out of range: ignored
    m.closeVoice(-1);
    EXPECT_EQ(mixFrames(m, 4), Samples(8, 0));
}
