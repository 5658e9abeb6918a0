#pragma once
// RIFF chunk navigation over a file: open a buffered reader, descend into a chunk found by id
// (or a "RIFF" chunk found by form type), read bytes, ascend past a chunk, close.
//
// A chunk is an id (four bytes), a 32-bit little-endian size and that many data bytes, followed
// by one pad byte when the size is odd. A "RIFF" or "LIST" chunk starts its data with a
// four-byte form type and holds sub-chunks after it.
//
// Sizes come from the file and are never trusted: a chunk is found only if its declared data
// fits both inside its parent and inside the file. A sub-chunk that claims more ends the search
// with `kRiffChunkTruncated`. The one exception is the top-level "RIFF" chunk, whose declared
// size is often a little off in real files: it is found whatever it claims, and the search for
// its sub-chunks is confined to the part of it the file really holds.
//
// Reading is not confined to a chunk: `read` takes bytes from the current position up to the end
// of the file, as a plain file read would.

#include <cstdint>
#include <cstdio>

#include "platform/result.h"

namespace plat {

constexpr uint32_t fourCC(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

constexpr uint32_t kRiffId = fourCC('R', 'I', 'F', 'F');

// What `descend` looks for.
namespace riffFind {
constexpr uint32_t Chunk = 0x10;  // the chunk whose id is `chunk.id`
constexpr uint32_t Riff = 0x20;   // a "RIFF" chunk whose form type is `chunk.formType`
}  // namespace riffFind

// Results besides kOk (all negative).
constexpr Result kRiffChunkNotFound = static_cast<Result>(0x80041001u);
constexpr Result kRiffChunkTruncated = static_cast<Result>(0x80041002u);
constexpr Result kRiffCannotSeek = static_cast<Result>(0x80041003u);
constexpr Result kRiffNotOpen = static_cast<Result>(0x80041004u);

// A chunk as found. `dataOffset` is the file offset of its first data byte (for a "RIFF" chunk,
// of its form type).
struct RiffChunk {
    uint32_t id = 0;
    uint32_t size = 0;      // declared data size
    uint32_t formType = 0;  // "RIFF" and "LIST" chunks only
    uint64_t dataOffset = 0;
    // Where sub-chunks may lie: the end of the declared data, for the top-level "RIFF" chunk
    // clipped to the end of the file.
    uint64_t limit = 0;
};

class RiffReader {
  public:
    RiffReader() = default;
    RiffReader(const RiffReader&) = delete;
    RiffReader& operator=(const RiffReader&) = delete;
    ~RiffReader() { close(); }

    // Opens a regular file for buffered reading at offset 0. Closes any file open before.
    Result open(const char* path);
    bool isOpen() const { return file_ != nullptr; }
    void close();

    // Searches from the current position and, when found, leaves the position at the chunk's
    // data (for a "RIFF" chunk, after its form type). With `riffFind::Riff`, `chunk.formType`
    // names the form type wanted and the search runs over the top-level chunks; with
    // `riffFind::Chunk`, `chunk.id` names the chunk and the search stays inside `parent` (or
    // the file, without a parent). kOk when found.
    Result descend(RiffChunk& chunk, const RiffChunk* parent, uint32_t flags);

    // Reads up to `count` bytes from the current position; returns the number read (fewer at
    // the end of the file), or -1 for a negative count or a file that is not open.
    int32_t read(void* buffer, int32_t count);

    // Moves to just after the chunk, past its pad byte when its size is odd. The chunk must lie
    // inside the file; a pad byte missing at the very end of the file is forgiven.
    Result ascend(const RiffChunk& chunk);

    uint64_t position() const { return position_; }
    uint64_t fileSize() const { return size_; }

  private:
    bool seek(uint64_t offset);
    // Reads a chunk header at `offset`: false if fewer than 8 bytes are there.
    bool header(uint64_t offset, uint32_t& id, uint32_t& size);

    std::FILE* file_ = nullptr;
    uint64_t size_ = 0;
    uint64_t position_ = 0;
};

}  // namespace plat
