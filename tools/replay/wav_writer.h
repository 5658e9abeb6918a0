#pragma once
// Streams 16-bit PCM stereo to a WAV file; the sizes are written when it is closed.

#include <cstdint>
#include <cstdio>
#include <string>

namespace replay {

class WavWriter {
  public:
    ~WavWriter() { close(); }
    bool open(const std::string& path, int sampleRate);
    void write(const int16_t* interleaved, int frames);
    bool close();

  private:
    FILE* file_ = nullptr;
    uint32_t dataBytes_ = 0;
    int rate_ = 0;
};

}  // namespace replay
