#include "support/GifLzwDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tessaroc::support {

namespace {

constexpr std::uint32_t kMaxCodes = 4096;
constexpr std::size_t kWordPadding = 8;

std::uint64_t loadLittleEndian64(const std::uint8_t *p)
{
    std::uint64_t value;
    std::memcpy(&value, p, sizeof value);
    if constexpr (std::endian::native == std::endian::big)
        value = __builtin_bswap64(value);
    return value;
}

// Copies a string that was written earlier in the same output. The source
// ends at or before the destination begins, so a word read never picks up a
// byte of this copy that matters; up to 7 bytes past the end are scribbled.
inline void copyEarlierString(std::uint8_t *dst, const std::uint8_t *src, std::uint32_t length)
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

void LzwDecoder::gatherData(std::span<const std::uint8_t> subBlocks)
{
    data_.clear();
    std::size_t pos = 0;
    while (pos < subBlocks.size()) {
        const std::size_t length = subBlocks[pos++];
        if (length == 0)
            break;
        const std::size_t available = std::min(length, subBlocks.size() - pos);
        data_.insert(data_.end(), subBlocks.begin() + static_cast<std::ptrdiff_t>(pos),
                     subBlocks.begin() + static_cast<std::ptrdiff_t>(pos + available));
        pos += available;
    }
    data_.resize(data_.size() + kWordPadding, 0);
}

std::size_t LzwDecoder::decode(std::span<const std::uint8_t> subBlocks, int minCodeSize,
                               std::uint8_t *out, std::size_t pixelCount)
{
    if (pixelCount == 0 || minCodeSize < 0 || minCodeSize > kMaxMinCodeSize)
        return 0;
    gatherData(subBlocks);
    const std::uint8_t *data = data_.data();
    const std::uint64_t totalBits = std::uint64_t{data_.size() - kWordPadding} * 8;

    const std::uint32_t clearCode = 1u << minCodeSize;
    const std::uint32_t endCode = clearCode + 1;
    const std::uint32_t firstWidth = static_cast<std::uint32_t>(minCodeSize) + 1;
    std::uint32_t width = firstWidth;
    std::uint32_t nextFree = clearCode + 2;
    std::uint64_t bitPos = 0;

    bool hasPrev = false;
    std::size_t prevPos = 0;
    std::uint32_t prevLength = 0;
    std::size_t pos = 0;

    while (pos < pixelCount) {
        if (bitPos + width > totalBits)
            break;
        const std::uint64_t bits = loadLittleEndian64(data + (bitPos >> 3)) >> (bitPos & 7);
        const auto code = static_cast<std::uint32_t>(bits & ((1u << width) - 1));
        bitPos += width;

        if (code == clearCode) {
            width = firstWidth;
            nextFree = clearCode + 2;
            hasPrev = false;
            continue;
        }
        if (code == endCode)
            break;

        std::uint32_t length;
        if (code < clearCode) {
            out[pos] = static_cast<std::uint8_t>(code);
            length = 1;
        } else if (!hasPrev) {
            break; // a string code before any string exists
        } else if (code < nextFree) {
            length = length_[code];
            copyEarlierString(out + pos, out + offset_[code], length);
        } else if (code == nextFree && nextFree < kMaxCodes) {
            // The string being defined: the previous string and its own first
            // pixel.
            length = prevLength + 1;
            copyEarlierString(out + pos, out + prevPos, prevLength);
            out[pos + prevLength] = out[prevPos];
        } else {
            break; // a code past the table: the data is damaged
        }

        if (hasPrev && nextFree < kMaxCodes) {
            // The new entry is the previous string followed by the first pixel
            // of this one, and that is exactly what the output holds there.
            offset_[nextFree] = static_cast<std::uint32_t>(prevPos);
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

} // namespace tessaroc::support
