#include "platform/riff.h"

#include <sys/stat.h>

#include <algorithm>

namespace plat {
namespace {

constexpr uint32_t kListId = fourCC('L', 'I', 'S', 'T');

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// The offset just after a chunk's data and pad byte.
uint64_t chunkEnd(uint64_t dataOffset, uint32_t size) {
    return dataOffset + size + (size & 1u);
}

}  // namespace

Result RiffReader::open(const char* path) {
    close();
    if (!path) return kInvalidArg;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return kFail;
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file);
        return kFail;
    }
    file_ = file;
    size_ = static_cast<uint64_t>(info.st_size);
    position_ = 0;
    return kOk;
}

void RiffReader::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    size_ = 0;
    position_ = 0;
}

bool RiffReader::seek(uint64_t offset) {
    if (offset == position_) return true;
    if (offset > static_cast<uint64_t>(INT64_MAX)) return false;
    if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
    position_ = offset;
    return true;
}

bool RiffReader::header(uint64_t offset, uint32_t& id, uint32_t& size) {
    uint8_t bytes[8];
    if (offset + 8 > size_ || !seek(offset) || read(bytes, 8) != 8) return false;
    id = le32(bytes);
    size = le32(bytes + 4);
    return true;
}

Result RiffReader::descend(RiffChunk& chunk, const RiffChunk* parent, uint32_t flags) {
    if (!file_) return kRiffNotOpen;
    const bool findRiff = (flags & riffFind::Riff) != 0;
    uint64_t offset = position_;
    uint64_t end = size_;
    if (parent) {
        const bool hasForm = parent->id == kRiffId || parent->id == kListId;
        offset = std::max(offset, parent->dataOffset + (hasForm ? 4 : 0));
        end = std::min(end, parent->limit);
    }
    // Every step moves at least 8 bytes forward, so a broken file cannot make this loop forever.
    uint32_t id = 0, size = 0;
    while (offset + 8 <= end && header(offset, id, size)) {
        const uint64_t data = offset + 8;
        if (findRiff) {
            uint8_t form[4];
            if (id == kRiffId && size >= 4 && read(form, 4) == 4 && le32(form) == chunk.formType) {
                chunk.id = id;
                chunk.size = size;
                chunk.dataOffset = data;
                chunk.limit = std::min<uint64_t>(data + size, end);
                return kOk;  // the position is now just after the form type
            }
        } else if (id == chunk.id) {
            if (data + size > end) return kRiffChunkTruncated;
            chunk.size = size;
            chunk.formType = 0;
            if ((id == kRiffId || id == kListId) && size >= 4) {
                uint8_t form[4];
                if (read(form, 4) != 4) return kRiffChunkTruncated;
                chunk.formType = le32(form);
                if (!seek(data)) return kRiffCannotSeek;
            }
            chunk.dataOffset = data;
            chunk.limit = data + size;
            return kOk;
        } else if (data + size > end) {
            break;  // a chunk that overruns its parent: nothing after it can be trusted
        }
        offset = chunkEnd(data, size);
    }
    return kRiffChunkNotFound;
}

int32_t RiffReader::read(void* buffer, int32_t count) {
    if (!file_ || count < 0 || (count > 0 && !buffer)) return -1;
    const size_t got = std::fread(buffer, 1, static_cast<size_t>(count), file_);
    position_ += got;
    return static_cast<int32_t>(got);
}

Result RiffReader::ascend(const RiffChunk& chunk) {
    if (!file_) return kRiffNotOpen;
    if (chunk.dataOffset + chunk.size > size_) return kRiffChunkTruncated;
    const uint64_t target = std::min(chunkEnd(chunk.dataOffset, chunk.size), size_);
    return seek(target) ? kOk : kRiffCannotSeek;
}

}  // namespace plat
