#pragma once
// Run-length decoding of bitmap pixel data (8-bit and 4-bit runs).

#include <cstddef>
#include <cstdint>

namespace texload {

// Decodes run-length data into `out`, `width` * `height` palette indices in the file's row
// order (row 0 is the first row the data describes). Pixels the data skips keep their value.
// Runs: a count n > 0 and a value write n pixels (4-bit: high and low nibble alternately);
// escapes 0,0 end the line, 0,1 end the bitmap, 0,2,dx,dy move the position, 0,n>=3 copy n
// literal pixels padded to a 16-bit boundary. Decoding ends at the end-of-bitmap escape or when
// the position passes the last row. False when a run would write outside the image or read
// past the end of the data.
bool decodeRle(const uint8_t* data, size_t size, bool fourBit, uint32_t width, uint32_t height,
               uint8_t* out);

}  // namespace texload
