#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tessaroc::gif {

// The hashed LZW compressor of the classic GIF writers: an open-addressed
// table of 5003 entries keyed by pixel * 4096 + prefix code, codes from 9 to
// 12 bits (for a minimum code size of 8), a clear code when the table is full,
// and the codes packed low bit first into data sub-blocks of at most 254 bytes.
class LzwEncoder
{
public:
    // Appends the data sub-blocks for `pixels` to `out`: not the minimum code
    // size before them, nor the block terminator after them. Every pixel must
    // be below 2 to the power minCodeSize (2 to 8).
    void compress(std::span<const std::uint8_t> pixels, int minCodeSize,
                  std::vector<std::uint8_t> &out);

private:
    static constexpr int kHashSize = 5003;

    // Packs one code at the current width; -1 writes out what is pending.
    void EmitCode(std::int32_t code);
    void resetTable();

    std::array<std::int32_t, kHashSize> hash_{};
    std::array<std::int32_t, kHashSize> codes_{};
    std::array<std::uint8_t, 255> subBlock_{};
    std::vector<std::uint8_t> *out_ = nullptr;
    std::uint32_t accumulator_ = 0;
    int bitCount_ = 0;
    int codeWidth_ = 0;
    int fill_ = 1;
};

} // namespace tessaroc::gif
