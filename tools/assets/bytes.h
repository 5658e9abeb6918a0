// Little-endian byte writing for the file formats the generators produce.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace assets {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void put32(Bytes& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

inline void putTag(Bytes& out, std::string_view tag) {
    out.insert(out.end(), tag.begin(), tag.end());
}

}  // namespace assets
