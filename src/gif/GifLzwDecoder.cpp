#include "gif/GifLzwDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tessaroc::gif {

namespace {

constexpr std::uint32_t kMaxCodes = 4096;

// Every pixel value, with room to read a whole word from any of them.
constexpr std::array<std::uint8_t, 256 + 8> kPixelValues = [] {
    std::array<std::uint8_t, 256 + 8> values{};
    for (std::size_t i = 0; i < 256; ++i)
        values[i] = static_cast<std::uint8_t>(i);
    return values;
}();

// Moves the data of the sub-blocks to the front, dropping the length bytes.
// Returns the number of data bytes.
std::size_t packSubBlocks(std::span<std::uint8_t> blocks)
{
    std::size_t read = 0;
    std::size_t write = 0;
    while (read < blocks.size()) {
        const std::size_t length = blocks[read++];
        if (length == 0)
            break;
        const std::size_t available = std::min(length, blocks.size() - read);
        std::memmove(blocks.data() + write, blocks.data() + read, available);
        write += available;
        read += available;
    }
    return write;
}

// The 64 bits from byte `at` on, low bit first; bytes past the end read 0.
std::uint64_t loadBits(const std::uint8_t *data, std::size_t size, std::size_t at)
{
    std::uint64_t value = 0;
    if (at + 8 <= size) {
        std::memcpy(&value, data + at, sizeof value);
        if constexpr (std::endian::native == std::endian::big)
            value = __builtin_bswap64(value);
        return value;
    }
    for (std::size_t i = 0; at + i < size; ++i)
        value |= std::uint64_t{data[at + i]} << (8 * i);
    return value;
}

// Copies a string that was written earlier (or one of the fixed pixel
// values). The source ends at or before the destination begins, so a word
// read never picks up a byte of this copy that matters; up to 7 bytes past the
// end are scribbled.
inline void copyString(std::uint8_t *dst, const std::uint8_t *src, std::uint32_t length)
{
    std::uint32_t i = 0;
    do {
        std::uint64_t word;
        std::memcpy(&word, src + i, sizeof word);
        std::memcpy(dst + i, &word, sizeof word);
        i += 8;
    } while (i < length);
}

} // namespace

std::size_t LzwDecoder::packedSize(std::span<const std::uint8_t> subBlocks)
{
    std::size_t read = 0;
    std::size_t size = 0;
    while (read < subBlocks.size()) {
        const std::size_t length = subBlocks[read++];
        if (length == 0)
            break;
        const std::size_t available = std::min(length, subBlocks.size() - read);
        size += available;
        read += available;
    }
    return size;
}

void LzwDecoder::packTo(std::span<const std::uint8_t> subBlocks, std::uint8_t *to)
{
    std::size_t read = 0;
    while (read < subBlocks.size()) {
        const std::size_t length = subBlocks[read++];
        if (length == 0)
            break;
        const std::size_t available = std::min(length, subBlocks.size() - read);
        std::memcpy(to, subBlocks.data() + read, available);
        to += available;
        read += available;
    }
}

std::size_t LzwDecoder::decode(std::span<std::uint8_t> subBlocks, int minCodeSize,
                               std::uint8_t *out, std::size_t pixelCount)
{
    if (pixelCount == 0 || minCodeSize < 0 || minCodeSize > kMaxMinCodeSize)
        return 0;
    const std::size_t dataSize = packSubBlocks(subBlocks);
    return decodePacked(subBlocks.first(dataSize), minCodeSize, out, pixelCount);
}

std::size_t LzwDecoder::decodePacked(std::span<const std::uint8_t> packed, int minCodeSize,
                                     std::uint8_t *out, std::size_t pixelCount)
{
    if (pixelCount == 0 || minCodeSize < 0 || minCodeSize > kMaxMinCodeSize)
        return 0;
    const std::size_t dataSize = packed.size();
    const std::uint8_t *data = packed.data();
    const std::uint64_t totalBits = std::uint64_t{dataSize} * 8;

    const std::uint32_t clearCode = 1u << minCodeSize;
    const std::uint32_t endCode = clearCode + 1;
    for (std::uint32_t c = 0; c < clearCode; ++c) {
        source_[c] = kPixelValues.data() + c;
        length_[c] = 1;
    }
    // Length 0 marks the two control codes.
    length_[clearCode] = 0;
    length_[endCode] = 0;

    const std::uint32_t firstWidth = static_cast<std::uint32_t>(minCodeSize) + 1;
    std::uint32_t width = firstWidth;
    std::uint32_t nextFree = clearCode + 2;
    std::uint64_t bitPos = 0;
    bool hasPrev = false;
    std::size_t prevPos = 0;
    std::uint32_t prevLength = 0;
    std::size_t pos = 0;

    while (pos < pixelCount && bitPos + width <= totalBits) {
        const std::uint64_t bits
                = loadBits(data, dataSize, static_cast<std::size_t>(bitPos >> 3)) >> (bitPos & 7);
        const auto code = static_cast<std::uint32_t>(bits & ((1u << width) - 1));
        bitPos += width;

        std::uint32_t length;
        if (code < nextFree) {
            length = length_[code];
            if (length == 0) {
                if (code == endCode)
                    break;
                width = firstWidth;
                nextFree = clearCode + 2;
                hasPrev = false;
                continue;
            }
            copyString(out + pos, source_[code], length);
        } else if (code == nextFree && hasPrev && nextFree < kMaxCodes) {
            // The string being defined: the previous string and its own first
            // pixel.
            length = prevLength + 1;
            copyString(out + pos, out + prevPos, prevLength);
            out[pos + prevLength] = out[prevPos];
        } else {
            break; // a code past the table: the data is damaged
        }

        if (hasPrev && nextFree < kMaxCodes) {
            // The new entry is the previous string followed by the first pixel
            // of this one, and that is exactly what the output holds there.
            source_[nextFree] = out + prevPos;
            length_[nextFree] = static_cast<std::uint16_t>(prevLength + 1);
            ++nextFree;
        }
        if (nextFree >= (1u << width) && width < 12)
            ++width;
        hasPrev = true;
        prevPos = pos;
        prevLength = length;
        pos += length;
    }
    return std::min(pos, pixelCount);
}

} // namespace tessaroc::gif
