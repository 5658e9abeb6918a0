#include "sounds.h"

#include <cmath>

#include "shapes.h"

namespace assets {
namespace {

// Rises over attack seconds, then decays exponentially with time constant tau.
double attackDecay(double t, double attack, double tau) {
    if (t < 0) return 0;
    return t < attack ? t / attack : std::exp(-(t - attack) / tau);
}

}  // namespace

Signal makePiko() {
    Signal s(sampleCount(0.22));
    struct Note {
        double start, end, hz;
    };
    static constexpr Note kNotes[] = {{0.0, 0.075, 1318.5}, {0.07, 0.22, 2637.0}};
    for (const Note& note : kNotes) {
        Oscillator osc;
        for (int i = sampleCount(note.start); i < sampleCount(note.end); ++i) {
            const double t = timeOf(i) - note.start, len = note.end - note.start;
            const double env = std::min(1.0, t / 0.003) * std::exp(-t / (len * 0.45)) *
                               std::min(1.0, (len - t) / 0.01);
            const double glide = 1.0 + 0.03 * std::exp(-t / 0.01);  // a tiny chirp on each onset
            s[i] += env * squareish(osc.step(note.hz * glide), note.hz, 7);
        }
    }
    finish(s, 0.002, 0.02);
    return s;
}

Signal makeBan() {
    Signal s(sampleCount(0.7));
    Rng rng(0xBA11);
    LowPass noiseFilter, crackleFilter;
    Oscillator thump;
    for (int i = 0; i < static_cast<int>(s.size()); ++i) {
        const double t = timeOf(i);
        const double noise =
            noiseFilter.step(rng.signedUnit(), 250.0 + 7000.0 * std::exp(-t / 0.07));
        // Sparse sparks of debris in the first moments, dying away with the blast.
        const double spark = std::exp(-t / 0.08);
        const double crackle = rng.unit() < 0.004 * spark ? rng.signedUnit() * 3.0 * spark : 0.0;
        const double boom = std::sin(thump.step(40.0 + 90.0 * std::exp(-t / 0.05)));
        s[i] = 1.3 * noise * attackDecay(t, 0.002, 0.13) +
               0.9 * boom * attackDecay(t, 0.004, 0.16) + crackleFilter.step(crackle, 3000.0);
    }
    finish(s, 0.002, 0.08);
    return s;
}

Signal makeSyu() {
    constexpr double kLength = 0.42;
    Signal s(sampleCount(kLength));
    Rng rng(0x5E7);
    BandPass sweep;
    LowPass hiss;
    for (int i = 0; i < static_cast<int>(s.size()); ++i) {
        const double t = timeOf(i), u = t / kLength;
        const double white = rng.signedUnit();
        const double centre = 500.0 + 3800.0 * std::pow(u, 0.8);
        const double band = sweep.step(white, centre, 0.25);
        const double air = white - hiss.step(white, 2500.0);  // what is left above 2.5 kHz
        const double env = std::pow(std::sin(kPi * std::pow(u, 0.6)), 1.5);
        s[i] = env * (band + 0.05 * air);
    }
    finish(s, 0.005, 0.03);
    return s;
}

Signal makeGogo() {
    constexpr double kLength = 1.5;
    Signal s(sampleCount(kLength));
    Rng rng(0x6060);
    LowPass rumble, rumble2;
    BandPass gurgle;
    Oscillator tone, wobble;
    for (int i = 0; i < static_cast<int>(s.size()); ++i) {
        const double t = timeOf(i), u = t / kLength;
        const double white = rng.signedUnit();
        const double low = rumble2.step(rumble.step(white, 160.0), 160.0) * 6.0;
        const double bubbles = gurgle.step(white, 260.0 + 120.0 * std::sin(2 * kPi * 3.0 * t), 0.2);
        const double phase = tone.step(72.0 - 34.0 * u);
        const double hum = std::sin(phase) + 0.35 * std::sin(2 * phase);
        const double pulse = 0.6 + 0.4 * std::sin(wobble.step(7.0 - 3.0 * u));  // "go-go-go"
        const double env = std::min(1.0, t / 0.04) * (u < 0.6 ? 1.0 : std::exp(-(u - 0.6) / 0.15));
        s[i] = env * pulse * (0.8 * hum + low + 0.15 * bubbles);
    }
    finish(s, 0.01, 0.1);
    return s;
}

Signal makeGa() {
    constexpr double kLength = 0.26;
    Signal s(sampleCount(kLength));
    Rng rng(0x6A);
    BandPass crunch;
    Oscillator growl;
    static constexpr double kBursts[][2] = {{0.0, 1.0}, {0.035, 0.8}, {0.075, 0.6}, {0.12, 0.4}};
    for (int i = 0; i < static_cast<int>(s.size()); ++i) {
        const double t = timeOf(i), u = t / kLength;
        double bursts = 0;
        for (const auto& b : kBursts) bursts += b[1] * attackDecay(t - b[0], 0.001, 0.012);
        const double grit = crunch.step(rng.signedUnit(), 1800.0, 0.9) * bursts;
        const double hz = 130.0 - 45.0 * u;
        const double phase = growl.step(hz);
        double saw = 0;
        for (int k = 1; k <= 8; ++k) saw += std::sin(k * phase) / k;
        s[i] = 1.2 * grit + 0.5 * saw * attackDecay(t, 0.004, 0.08);
    }
    finish(s, 0.002, 0.03);
    return s;
}

}  // namespace assets
