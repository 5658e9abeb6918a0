// Building blocks for the sound effects: oscillators, noise, filters and the final shaping that
// gives every effect clean edges and the same loudness.
#pragma once

#include <cstdint>
#include <vector>

#include "rng.h"

namespace assets {

inline constexpr int kSampleRate = 22050;

using Signal = std::vector<double>;

inline int sampleCount(double seconds) {
    return static_cast<int>(seconds * kSampleRate + 0.5);
}
inline double timeOf(int i) {
    return static_cast<double>(i) / kSampleRate;
}

// A sine oscillator whose frequency may change every sample without a jump in the wave.
class Oscillator {
  public:
    // Advances by one sample at the given frequency; returns the phase in radians.
    double step(double hz);

  private:
    double phase_ = 0;
};

// Band-limited square-ish tone: odd harmonics below the Nyquist limit with falling weights.
double squareish(double phase, double hz, int maxHarmonic);

// One-pole low-pass filter with a cutoff that may change every sample.
class LowPass {
  public:
    double step(double in, double cutoffHz);

  private:
    double y_ = 0;
};

// State-variable band-pass filter (two-pole resonant), cutoff and damping per sample.
class BandPass {
  public:
    double step(double in, double centreHz, double damping);

  private:
    double low_ = 0, band_ = 0;
};

// Loudness measure shared by the generator and its tests: the highest RMS of any 50 ms window.
double windowLoudness(const Signal& s);

// Fades the first and last milliseconds in and out (raised cosine) and scales the effect so that
// its loudness is the common target.
void finish(Signal& s, double fadeInSeconds, double fadeOutSeconds);

// Converts to 16-bit samples, rounding and clipping.
std::vector<std::int16_t> toPcm16(const Signal& s);

}  // namespace assets
