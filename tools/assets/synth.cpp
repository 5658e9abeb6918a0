#include "synth.h"

#include <algorithm>
#include <cmath>

#include "shapes.h"

namespace assets {
namespace {

// Common loudness of all effects: -14 dBFS RMS over the loudest 50 ms, which leaves headroom for
// the peaks of the noisy effects.
constexpr double kTargetLoudness = 0.2;

}  // namespace

double Oscillator::step(double hz) {
    phase_ = std::fmod(phase_ + 2 * kPi * hz / kSampleRate, 2 * kPi);
    return phase_;
}

double squareish(double phase, double hz, int maxHarmonic) {
    double sum = 0;
    for (int k = 1; k <= maxHarmonic && k * hz < kSampleRate / 2.0; k += 2)
        sum += std::sin(k * phase) / (k * std::sqrt(static_cast<double>(k)));
    return sum;
}

double LowPass::step(double in, double cutoffHz) {
    const double a = 1.0 - std::exp(-2 * kPi * cutoffHz / kSampleRate);
    y_ += a * (in - y_);
    return y_;
}

double BandPass::step(double in, double centreHz, double damping) {
    const double f = 2.0 * std::sin(kPi * std::min(centreHz, kSampleRate / 6.0) / kSampleRate);
    low_ += f * band_;
    const double high = in - low_ - damping * band_;
    band_ += f * high;
    return band_;
}

double windowLoudness(const Signal& s) {
    const int window = sampleCount(0.05), hop = sampleCount(0.005);
    double best = 0;
    for (int start = 0; start + window <= static_cast<int>(s.size()); start += hop) {
        double sum = 0;
        for (int i = start; i < start + window; ++i) sum += s[i] * s[i];
        best = std::max(best, std::sqrt(sum / window));
    }
    return best;
}

void finish(Signal& s, double fadeInSeconds, double fadeOutSeconds) {
    const int n = static_cast<int>(s.size());
    const int in = sampleCount(fadeInSeconds), out = sampleCount(fadeOutSeconds);
    for (int i = 0; i < in && i < n; ++i) s[i] *= 0.5 - 0.5 * std::cos(kPi * i / in);
    for (int i = 0; i < out && i < n; ++i) s[n - 1 - i] *= 0.5 - 0.5 * std::cos(kPi * i / out);
    const double loudness = windowLoudness(s);
    if (loudness > 0)
        for (double& v : s) v *= kTargetLoudness / loudness;
}

std::vector<std::int16_t> toPcm16(const Signal& s) {
    std::vector<std::int16_t> out;
    out.reserve(s.size());
    for (double v : s)
        out.push_back(static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0)));
    return out;
}

}  // namespace assets
