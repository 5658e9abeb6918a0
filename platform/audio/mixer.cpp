#include "platform/audio/mixer.h"

#include <algorithm>

namespace plat {

int Mixer::openVoice() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (int i = 0; i < kVoices; ++i) {
        if (voices_[i].open) continue;
        voices_[i].open = true;
        voices_[i].playing = false;
        voices_[i].position = 0;
        return i;
    }
    return -1;
}

void Mixer::closeVoice(int voice) {
    std::vector<int16_t> old;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!valid(voice)) return;
        Voice& v = voices_[voice];
        v.open = false;
        v.playing = false;
        v.position = 0;
        old.swap(v.samples);
    }
}

void Mixer::swapSamples(int voice, std::vector<int16_t>& samples) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!valid(voice)) return;
    Voice& v = voices_[voice];
    v.samples.swap(samples);
    const auto frames = static_cast<uint32_t>(v.samples.size() / 2);
    if (v.position >= frames) {
        v.position = 0;
        v.playing = false;
    }
}

void Mixer::setPosition(int voice, uint32_t frame) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!valid(voice)) return;
    Voice& v = voices_[voice];
    v.position = std::min<uint32_t>(frame, static_cast<uint32_t>(v.samples.size() / 2));
}

void Mixer::start(int voice) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (valid(voice)) voices_[voice].playing = true;
}

void Mixer::stop(int voice) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (valid(voice)) voices_[voice].playing = false;
}

bool Mixer::playing(int voice) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return valid(voice) && voices_[voice].playing;
}

uint32_t Mixer::position(int voice) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return valid(voice) ? voices_[voice].position : 0;
}

uint32_t Mixer::frames(int voice) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return valid(voice) ? static_cast<uint32_t>(voices_[voice].samples.size() / 2) : 0;
}

int Mixer::openVoices() const {
    std::lock_guard<std::mutex> lock(mutex_);
    int n = 0;
    for (const Voice& v : voices_) n += v.open ? 1 : 0;
    return n;
}

void Mixer::mix(int16_t* out, int frames) {
    if (!out || frames <= 0) return;
    std::lock_guard<std::mutex> lock(mutex_);
    for (int done = 0; done < frames; done += kChunk) {
        const int count = std::min(kChunk, frames - done);
        std::fill(sum_, sum_ + count * 2, 0);
        for (Voice& v : voices_) {
            if (!v.open || !v.playing) continue;
            const auto total = static_cast<uint32_t>(v.samples.size() / 2);
            const uint32_t take = std::min<uint32_t>(static_cast<uint32_t>(count),
                                                     total - std::min(v.position, total));
            const int16_t* src = v.samples.data() + static_cast<size_t>(v.position) * 2;
            for (uint32_t i = 0; i < take * 2; ++i) sum_[i] += src[i];
            v.position += take;
            if (v.position >= total) {  // played to the end: stop and rewind
                v.playing = false;
                v.position = 0;
            }
        }
        int16_t* dst = out + static_cast<size_t>(done) * 2;
        for (int i = 0; i < count * 2; ++i)
            dst[i] = static_cast<int16_t>(std::clamp(sum_[i], -32768, 32767));
    }
}

}  // namespace plat
