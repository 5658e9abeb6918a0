// The five sound effects: PCM WAV files the game's reader accepts, short, audible, without
// clicks at either end, and equally loud.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

#include "asset_files.h"

namespace asset_test {
namespace {

const char* const kSounds[] = {"piko.wav", "ban.wav", "syu.wav", "gogo.wav", "ga.wav"};

Wav load(const std::string& name) {
    std::string why;
    auto wav = decodeWav(readFile(resFolder() / name), &why);
    if (!wav) ADD_FAILURE() << name << ": " << why;
    return wav.value_or(Wav{});
}

// Loudness as a listener meets it: the RMS of the loudest 50 ms, in dB below full scale.
double loudnessDb(const Wav& wav) {
    const std::size_t window = wav.sampleRate / 20, hop = window / 10;
    double best = 0;
    for (std::size_t start = 0; start + window <= wav.samples.size(); start += hop) {
        double sum = 0;
        for (std::size_t i = start; i < start + window; ++i)
            sum += static_cast<double>(wav.samples[i]) * wav.samples[i];
        best = std::max(best, std::sqrt(sum / window) / 32768.0);
    }
    return 20 * std::log10(std::max(best, 1e-9));
}

TEST(SoundEffects, AreCompletePcmWaveFiles) {
    for (const char* name : kSounds) {
        SCOPED_TRACE(name);
        const Wav wav = load(name);
        EXPECT_TRUE(wav.fmtSize == 16 || wav.fmtSize == 18) << wav.fmtSize;
        EXPECT_EQ(wav.format, 1u);  // PCM
        EXPECT_EQ(wav.channels, 1u);
        EXPECT_EQ(wav.bitsPerSample, 16u);
        EXPECT_TRUE(wav.sampleRate == 22050 || wav.sampleRate == 44100) << wav.sampleRate;
        EXPECT_EQ(wav.blockAlign, wav.channels * wav.bitsPerSample / 8);
        EXPECT_EQ(wav.byteRate, wav.sampleRate * wav.blockAlign);
        ASSERT_GT(wav.sampleRate, 0u);
        const double seconds = static_cast<double>(wav.samples.size()) / wav.sampleRate;
        EXPECT_GT(seconds, 0.05);
        EXPECT_LT(seconds, 2.0);  // effects, not music
    }
}

TEST(SoundEffects, StartAndEndAtSilenceWithoutClipping) {
    for (const char* name : kSounds) {
        SCOPED_TRACE(name);
        const Wav wav = load(name);
        ASSERT_GT(wav.samples.size(), 100u);
        int peak = 0;
        for (std::int16_t s : wav.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
        EXPECT_GT(peak, 3000) << "nearly silent";
        EXPECT_LT(peak, 32767) << "clipped";
        // A jump from or to silence larger than 1% of full scale is heard as a click.
        EXPECT_LE(std::abs(wav.samples.front()), 327);
        EXPECT_LE(std::abs(wav.samples.back()), 327);
    }
}

TEST(SoundEffects, AreEquallyLoud) {
    double loudness[std::size(kSounds)];
    for (std::size_t i = 0; i < std::size(kSounds); ++i) loudness[i] = loudnessDb(load(kSounds[i]));
    const auto [quietest, loudest] = std::minmax_element(std::begin(loudness), std::end(loudness));
    EXPECT_LE(*loudest - *quietest, 1.5)
        << kSounds[quietest - loudness] << " " << *quietest << " dB, "
        << kSounds[loudest - loudness] << " " << *loudest << " dB";
    EXPECT_GT(*quietest, -30.0);
}

}  // namespace
}  // namespace asset_test
