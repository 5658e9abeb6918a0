#pragma once
// The software mixer: a fixed table of voices, each one sound already converted to the output
// format (signed 16-bit stereo at kOutputRate) that plays once from a position, and a pure mix
// function that sums the playing voices with clipping. The host's audio output pulls from
// `mix`; tests call it directly.
//
// The host may call `mix` on its own thread. A light mutex guards the voice table; the calls the
// game makes while it runs (`setPosition`, `start`) only take it and change two fields, and they
// never allocate. Sample storage is swapped in under the lock and freed outside it.

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/host.h"

namespace plat {

class Mixer : public AudioSource {
  public:
    static constexpr int kOutputRate = 44100;
    static constexpr int kVoices = 32;

    // Takes a free voice, silent and empty; -1 when all are taken.
    int openVoice();
    // Stops the voice, frees its samples and gives the voice back.
    void closeVoice(int voice);
    // Replaces the voice's samples (interleaved stereo frames) with `samples`, which receives
    // the old ones. The voice keeps its position, clipped to the new length.
    void swapSamples(int voice, std::vector<int16_t>& samples);
    // The play position in output frames.
    void setPosition(int voice, uint32_t frame);
    // Plays from the current position to the end, once; the position then returns to 0.
    void start(int voice);
    void stop(int voice);

    bool playing(int voice) const;
    uint32_t position(int voice) const;
    uint32_t frames(int voice) const;
    int openVoices() const;

    // Fills `frames` interleaved stereo frames with the sum of the playing voices, each sample
    // clipped to the 16-bit range, and advances those voices.
    void mix(int16_t* out, int frames) override;

  private:
    struct Voice {
        bool open = false;
        bool playing = false;
        uint32_t position = 0;
        std::vector<int16_t> samples;
    };
    bool valid(int voice) const { return voice >= 0 && voice < kVoices && voices_[voice].open; }

    static constexpr int kChunk = 256;  // frames summed at a time
    mutable std::mutex mutex_;
    Voice voices_[kVoices];
    int32_t sum_[kChunk * 2] = {};
};

}  // namespace plat
