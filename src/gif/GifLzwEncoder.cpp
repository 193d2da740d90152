#include "gif/GifLzwEncoder.h"

#include <algorithm>

namespace tessaroc::gif {

namespace {

constexpr std::int32_t kMaxCode = 4095;
// 5003 takes four doublings to reach 65536: the primary hash puts the pixel
// four bits up and mixes in the prefix.
constexpr int kHashShift = 4;

} // namespace

void LzwEncoder::resetTable()
{
    hash_.fill(-1);
}

void LzwEncoder::EmitCode(std::int32_t code)
{
    if (code >= 0) {
        accumulator_ |= static_cast<std::uint32_t>(code) << bitCount_;
        bitCount_ += codeWidth_;
        while (bitCount_ >= 8) {
            subBlock_[static_cast<std::size_t>(fill_)]
                    = static_cast<std::uint8_t>(accumulator_ & 0xFF);
            accumulator_ >>= 8;
            bitCount_ -= 8;
            if (fill_ == 254) {
                subBlock_[0] = 254;
                out_->insert(out_->end(), subBlock_.begin(), subBlock_.end());
                fill_ = 0;
            }
            ++fill_;
        }
        return;
    }
    if (bitCount_ != 0) {
        subBlock_[static_cast<std::size_t>(fill_)] = static_cast<std::uint8_t>(accumulator_);
        ++fill_;
        accumulator_ = 0;
        bitCount_ = 0;
    }
    if (fill_ == 1)
        return;
    const int pending = fill_ - 1;
    subBlock_[0] = static_cast<std::uint8_t>(pending);
    out_->insert(out_->end(), subBlock_.begin(), subBlock_.begin() + pending + 1);
    fill_ = 1;
}

void LzwEncoder::compress(std::span<const std::uint8_t> pixels, int minCodeSize,
                          std::vector<std::uint8_t> &out)
{
    out_ = &out;
    accumulator_ = 0;
    bitCount_ = 0;
    fill_ = 1;

    const std::int32_t clearCode = 1 << minCodeSize;
    const std::int32_t endCode = clearCode + 1;
    const int firstWidth = minCodeSize + 1;
    codeWidth_ = firstWidth;
    std::int32_t largestCode = (1 << codeWidth_) - 1;
    std::int32_t nextCode = clearCode + 2;
    resetTable();

    EmitCode(clearCode);
    if (pixels.empty()) {
        EmitCode(endCode);
        EmitCode(-1);
        return;
    }

    std::int32_t prefix = pixels[0];
    for (std::size_t p = 1; p < pixels.size(); ++p) {
        const std::int32_t c = pixels[p];
        const std::int32_t key = (c << 12) + prefix;
        int i = (c << kHashShift) ^ prefix;
        if (hash_[static_cast<std::size_t>(i)] == key) {
            prefix = codes_[static_cast<std::size_t>(i)];
            continue;
        }
        if (hash_[static_cast<std::size_t>(i)] >= 0) {
            // Secondary probe. An entry holding the key 0 (pixel 0 after
            // prefix 0) ends the probe like an empty one; at worst that string
            // is entered again and written with a longer code sequence.
            const int step = i == 0 ? 1 : kHashSize - i;
            bool found = false;
            do {
                i -= step;
                if (i < 0)
                    i += kHashSize;
                if (hash_[static_cast<std::size_t>(i)] == key) {
                    prefix = codes_[static_cast<std::size_t>(i)];
                    found = true;
                    break;
                }
            } while (hash_[static_cast<std::size_t>(i)] > 0);
            if (found)
                continue;
        }
        EmitCode(prefix);
        prefix = c;
        codes_[static_cast<std::size_t>(i)] = nextCode;
        hash_[static_cast<std::size_t>(i)] = key;
        if (nextCode > largestCode) {
            if (nextCode > kMaxCode) {
                // The table is full: clear it at the current width and start
                // again at the first width.
                EmitCode(clearCode);
                resetTable();
                codeWidth_ = firstWidth;
                nextCode = clearCode + 1;
            } else {
                ++codeWidth_;
            }
            largestCode = (1 << codeWidth_) - 1;
        }
        ++nextCode;
    }
    EmitCode(prefix);
    EmitCode(endCode);
    EmitCode(-1);
}

} // namespace tessaroc::gif
