#include "gif/GifLzwDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tessaroc::gif {

namespace {

constexpr std::uint32_t kMaxCodes = 4096;

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

// The 64 bits from byte `at` on, low bit first: a whole word when the data
// holds one there, else the bytes left and zeros.
std::uint64_t wordAt(const std::uint8_t *data, std::size_t at)
{
    std::uint64_t value;
    std::memcpy(&value, data + at, sizeof value);
    if constexpr (std::endian::native == std::endian::big)
        value = __builtin_bswap64(value);
    return value;
}

std::uint64_t lastBitsAt(const std::uint8_t *data, std::size_t size, std::size_t at)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; at + i < size && i < 8; ++i)
        value |= std::uint64_t{data[at + i]} << (8 * i);
    return value;
}

// Copies a string that was written earlier. The source ends at or before the
// destination begins, so a word read never picks up a byte of this copy that
// matters; up to 7 bytes past the end are scribbled.
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
    // Below this a code's bits are read as one whole word.
    const std::uint64_t wordEnd = dataSize >= 8 ? std::uint64_t{dataSize - 7} * 8 : 0;
    // Entries are places in the output, so a frame holds fewer pixels than
    // the 32 bits of a place can count (the bounds of GifTypes.h keep it far
    // below).
    pixelCount = std::min<std::size_t>(pixelCount, UINT32_MAX);

    const std::uint32_t clearCode = 1u << minCodeSize;
    const std::uint32_t endCode = clearCode + 1;
    const std::uint32_t firstWidth = static_cast<std::uint32_t>(minCodeSize) + 1;
    std::uint32_t width = firstWidth;
    std::uint32_t mask = (1u << width) - 1;
    std::uint32_t nextFree = clearCode + 2;
    std::uint64_t bitPos = 0;
    bool hasPrev = false;
    std::uint32_t prevPos = 0;
    std::uint32_t prevLength = 0;
    std::size_t pos = 0;

    while (pos < pixelCount) {
        std::uint64_t bits;
        if (bitPos < wordEnd) {
            bits = wordAt(data, static_cast<std::size_t>(bitPos >> 3));
        } else {
            if (bitPos + width > totalBits)
                break;
            bits = lastBitsAt(data, dataSize, static_cast<std::size_t>(bitPos >> 3));
        }
        const auto code = static_cast<std::uint32_t>(bits >> (bitPos & 7)) & mask;
        bitPos += width;

        std::uint32_t length;
        if (code < clearCode) {
            // A single pixel, the most common code in a busy picture.
            out[pos] = static_cast<std::uint8_t>(code);
            length = 1;
        } else if (code < nextFree) {
            if (code <= endCode) {
                if (code == endCode)
                    break;
                width = firstWidth;
                mask = (1u << width) - 1;
                nextFree = clearCode + 2;
                hasPrev = false;
                continue;
            }
            length = length_[code];
            copyString(out + pos, out + place_[code], length);
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
            place_[nextFree] = prevPos;
            length_[nextFree] = static_cast<std::uint16_t>(prevLength + 1);
            ++nextFree;
        }
        if (nextFree > mask && width < 12) {
            ++width;
            mask = (1u << width) - 1;
        }
        hasPrev = true;
        prevPos = static_cast<std::uint32_t>(pos);
        prevLength = length;
        pos += length;
    }
    return std::min(pos, pixelCount);
}

} // namespace tessaroc::gif
