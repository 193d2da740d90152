#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace tessaroc::gif {

// Decodes the variable-length-code (LZW) data of one GIF image into colour
// indexes. A table entry is kept as the place in the output where its string
// was last written, so decoding a code is one short copy rather than a walk
// along a chain of prefixes; a single pixel, the most common code in a busy
// picture, is written as it is.
//
// Code widths grow by the same rule as the common GIF decoders (the width goes
// up once the next free code no longer fits). The decoder stops, keeping what
// it has written, at the end code, when the data runs out, and at a code that
// is not yet in the table; the caller decides what the pixels not reached show.
class LzwDecoder
{
public:
    // Room the output needs past its last pixel: strings are copied in whole
    // 8-byte words and the last one may run past the end of the image.
    static constexpr std::size_t kSlack = 4096 + 8;
    static constexpr int kMaxMinCodeSize = 8;

    // `subBlocks` starts at the length byte of the first data sub-block (the
    // byte after the minimum code size) and runs at most to the end of the
    // data; a missing terminator is no error. The data of the sub-blocks is
    // packed together in place, so the bytes are scratch afterwards. `out` has
    // room for pixelCount + kSlack bytes; at most 2^32 - 1 pixels are
    // written. Returns the number of pixels written, at most pixelCount;
    // bytes from there on hold no pixel.
    std::size_t decode(std::span<std::uint8_t> subBlocks, int minCodeSize, std::uint8_t *out,
                       std::size_t pixelCount);
    // The same on data that is packed already: the sub-blocks' data without
    // their length bytes. `data` must not lie in `out`'s room.
    std::size_t decodePacked(std::span<const std::uint8_t> data, int minCodeSize, std::uint8_t *out,
                             std::size_t pixelCount);

    // The bytes of data the sub-blocks at the front of `subBlocks` hold.
    static std::size_t packedSize(std::span<const std::uint8_t> subBlocks);
    // Copies that data, packedSize(subBlocks) bytes, to `to`.
    static void packTo(std::span<const std::uint8_t> subBlocks, std::uint8_t *to);

private:
    std::array<std::uint32_t, 4096> place_{};
    std::array<std::uint16_t, 4096> length_{};
};

} // namespace tessaroc::gif
