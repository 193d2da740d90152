#include "gif/GifEncoder.h"
#include "gif/GifLzwDecoder.h"
#include "gif/GifLzwEncoder.h"

#include "GifBuilder.h"

#include <gtest/gtest.h>

#include <utility>

namespace tessaroc::gif {
namespace {

using testing::randomPixels;

// Packs codes of given widths low bit first into data sub-blocks, as a GIF
// writer would, so a test can hand the decoder any code sequence.
std::vector<std::uint8_t> subBlocksOf(const std::vector<std::pair<int, int>> &codesAndWidths)
{
    std::vector<std::uint8_t> data;
    std::uint32_t accumulator = 0;
    int bits = 0;
    for (auto [code, width] : codesAndWidths) {
        accumulator |= static_cast<std::uint32_t>(code) << bits;
        bits += width;
        while (bits >= 8) {
            data.push_back(static_cast<std::uint8_t>(accumulator));
            accumulator >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0)
        data.push_back(static_cast<std::uint8_t>(accumulator));
    std::vector<std::uint8_t> blocks;
    for (std::size_t i = 0; i < data.size(); i += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - i);
        blocks.push_back(static_cast<std::uint8_t>(n));
        blocks.insert(blocks.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                      data.begin() + static_cast<std::ptrdiff_t>(i + n));
    }
    blocks.push_back(0);
    return blocks;
}

struct Decoded
{
    std::size_t count;
    std::vector<std::uint8_t> pixels;
};

Decoded decode(const std::vector<std::uint8_t> &blocks, int minCodeSize, std::size_t pixelCount)
{
    std::vector<std::uint8_t> out(pixelCount + LzwDecoder::kSlack, 0xEE);
    LzwDecoder decoder;
    std::vector<std::uint8_t> scratch = blocks;
    const std::size_t count = decoder.decode(scratch, minCodeSize, out.data(), pixelCount);
    out.resize(count);
    return {count, out};
}

std::vector<std::uint8_t> compress(const std::vector<std::uint8_t> &pixels, int minCodeSize)
{
    std::vector<std::uint8_t> blocks;
    LzwEncoder().compress(pixels, minCodeSize, blocks);
    blocks.push_back(0);
    return blocks;
}

ColorTable tableOf(std::initializer_list<std::uint32_t> colors)
{
    ColorTable table;
    for (std::uint32_t c : colors)
        table.colors[table.count++] = c;
    return table;
}

std::vector<std::uint8_t> bytesAt(const std::vector<std::uint8_t> &bytes, std::size_t from,
                                  std::size_t count)
{
    return {bytes.begin() + static_cast<std::ptrdiff_t>(from),
            bytes.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

// The lengths of the data sub-blocks that start at `pos`, up to the terminator.
std::vector<int> subBlockLengths(const std::vector<std::uint8_t> &bytes, std::size_t pos)
{
    std::vector<int> lengths;
    while (bytes.at(pos) != 0) {
        lengths.push_back(bytes[pos]);
        pos += bytes[pos] + 1u;
    }
    return lengths;
}

TEST(GifFrameEncoder, OnePixelFrameMatchesTheLayoutByteForByte)
{
    const ColorTable table = tableOf({0x102030, 0xA0B0C0, 0xFFFFFF});
    const auto gif = EncodeFrameGif(std::vector<std::uint8_t>{0}, 1, 1, table, std::nullopt);
    ASSERT_EQ(gif.size(), 799u);
    EXPECT_EQ(bytesAt(gif, 0, 13),
              (std::vector<std::uint8_t>{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x87, 0, 0}));
    EXPECT_EQ(bytesAt(gif, 13, 9),
              (std::vector<std::uint8_t>{0x10, 0x20, 0x30, 0xA0, 0xB0, 0xC0, 0xFF, 0xFF, 0xFF}));
    for (std::size_t i = 22; i < 781; ++i)
        ASSERT_EQ(gif[i], 0) << "table byte " << i;
    EXPECT_EQ(bytesAt(gif, 781, 18),
              (std::vector<std::uint8_t>{0x2C, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00,
                                         0x08, 0x04, 0x00, 0x01, 0x04, 0x04, 0x00, 0x3B}));
}

TEST(GifFrameEncoder, TransparentColourAddsTheGraphicControlExtension)
{
    const ColorTable table = tableOf({0x102030, 0xA0B0C0});
    const auto plain = EncodeFrameGif(std::vector<std::uint8_t>{0}, 1, 1, table, std::nullopt);
    const auto gif = EncodeFrameGif(std::vector<std::uint8_t>{0}, 1, 1, table, std::uint8_t{5});
    ASSERT_EQ(gif.size(), 807u);
    EXPECT_EQ(bytesAt(gif, 781, 8),
              (std::vector<std::uint8_t>{0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x05, 0x00}));
    EXPECT_EQ(bytesAt(gif, 789, 18), bytesAt(plain, 781, 18));
}

TEST(GifFrameEncoder, TwoColourTableStillTakes256Entries)
{
    const auto gif = EncodeFrameGif(std::vector<std::uint8_t>{1, 0, 1, 0}, 2, 2,
                                    tableOf({0xFFFFFF, 0x00FF00}), std::nullopt);
    EXPECT_EQ(gif[10], 0x87);
    EXPECT_EQ(bytesAt(gif, 13, 6), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0x00, 0xFF, 0x00}));
    for (std::size_t i = 19; i < 781; ++i)
        ASSERT_EQ(gif[i], 0);
    EXPECT_EQ(gif[791], 8); // minimum code size
}

TEST(GifFrameEncoder, FullSubBlocksHold254Bytes)
{
    // Distinct pixels in a row repeat no pair, so every pixel is one 9-bit
    // code: 223 pixels and the clear and end codes take 2025 bits (254
    // bytes); 224 pixels take 2034 bits (255 bytes).
    const auto lengthsFor = [](int pixels) {
        std::vector<std::uint8_t> ramp(static_cast<std::size_t>(pixels));
        for (int i = 0; i < pixels; ++i)
            ramp[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        ColorTable table;
        table.count = 256;
        const auto gif = EncodeFrameGif(ramp, pixels, 1, table, std::nullopt);
        return subBlockLengths(gif, 792);
    };
    EXPECT_EQ(lengthsFor(223), std::vector<int>{254});
    EXPECT_EQ(lengthsFor(224), (std::vector<int>{254, 1}));
    EXPECT_EQ(lengthsFor(222), std::vector<int>{252});
}

TEST(GifFrameEncoder, ZeroSizeFrameHoldsOnlyClearAndEnd)
{
    const auto gif = EncodeFrameGif({}, 0, 5, tableOf({0}), std::nullopt);
    EXPECT_EQ(subBlockLengths(gif, 792), std::vector<int>{3});
    EXPECT_EQ(gif.back(), 0x3B);
}

struct RoundTripCase
{
    const char *name;
    std::size_t pixels;
    int colors;
    int minCodeSize;
};

void PrintTo(const RoundTripCase &c, std::ostream *os)
{
    *os << c.name;
}

class LzwRoundTrip : public ::testing::TestWithParam<RoundTripCase>
{
};

// Random data fills the code table again and again (clear codes at 12 bits);
// runs of one colour exercise the string that is being defined (KwKwK).
TEST_P(LzwRoundTrip, DecoderGivesBackWhatTheEncoderTookIn)
{
    const RoundTripCase c = GetParam();
    for (unsigned seed = 1; seed <= 3; ++seed) {
        auto pixels = randomPixels(c.pixels, c.colors, seed);
        if (seed == 3)
            std::fill(pixels.begin() + static_cast<std::ptrdiff_t>(pixels.size() / 2), pixels.end(),
                      1 % c.colors);
        const Decoded d = decode(compress(pixels, c.minCodeSize), c.minCodeSize, pixels.size());
        ASSERT_EQ(d.count, pixels.size()) << c.name << " seed " << seed;
        ASSERT_EQ(d.pixels, pixels) << c.name << " seed " << seed;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LzwRoundTrip,
                         ::testing::Values(RoundTripCase{"one", 1, 2, 2},
                                           RoundTripCase{"two", 2, 2, 2},
                                           RoundTripCase{"fourColours", 5000, 4, 2},
                                           RoundTripCase{"sixteenColours", 20000, 16, 4},
                                           RoundTripCase{"fullTable", 60000, 256, 8},
                                           RoundTripCase{"fewColoursAtEight", 30000, 3, 8},
                                           RoundTripCase{"runs", 100000, 1, 8}),
                         [](const auto &param) { return param.param.name; });

TEST(LzwDecoder, StringBeingDefinedRepeatsThePreviousStringsFirstPixel)
{
    // Codes at minimum size 2: clear 4, end 5. 1, then 6 (= 1 1, defined by
    // its own use), then 7 (= 1 1 1), then end.
    const Decoded d = decode(subBlocksOf({{4, 3}, {1, 3}, {6, 3}, {7, 3}, {5, 4}}), 2, 6);
    EXPECT_EQ(d.pixels, (std::vector<std::uint8_t>{1, 1, 1, 1, 1, 1}));
}

TEST(LzwDecoder, ClearCodeStartsTheTableAgain)
{
    // 2 3 6(=2 3) | clear, at the 4 bits reached | 1 6(=1 1)
    const Decoded d = decode(
            subBlocksOf({{4, 3}, {2, 3}, {3, 3}, {6, 3}, {4, 4}, {1, 3}, {6, 3}, {5, 3}}), 2, 7);
    EXPECT_EQ(d.pixels, (std::vector<std::uint8_t>{2, 3, 2, 3, 1, 1, 1}));
}

TEST(LzwDecoder, WidthGrowsOnceTheNextCodeNoLongerFits)
{
    // Minimum size 2: codes 6 and 7 are defined at 3 bits; when 8 is the
    // next free code the width becomes 4.
    const Decoded d
            = decode(subBlocksOf({{4, 3}, {0, 3}, {1, 3}, {2, 3}, {3, 4}, {6, 4}, {5, 4}}), 2, 6);
    EXPECT_EQ(d.pixels, (std::vector<std::uint8_t>{0, 1, 2, 3, 0, 1}));
}

// Writers may keep going at 12 bits once the table is full instead of sending
// a clear code: no entry is added any more, and the full table serves.
TEST(LzwDecoder, FullTableServesOnWithoutAClearCode)
{
    const auto literal = [](int i) {
        return static_cast<std::uint8_t>(i * 7 / 3 % 4);
    };
    const int literals = 4100;
    std::vector<std::pair<int, int>> codes{{4, 3}};
    std::vector<std::uint8_t> expected;
    int width = 3;
    int nextFree = 6;
    const auto put = [&](int code) {
        codes.push_back({code, width});
        if (codes.size() > 2 && nextFree < 4096)
            ++nextFree;
        if (nextFree >= (1 << width) && width < 12)
            ++width;
    };
    for (int i = 0; i < literals; ++i) {
        put(literal(i));
        expected.push_back(literal(i));
    }
    ASSERT_EQ(nextFree, 4096);
    ASSERT_EQ(width, 12);
    // Entry k was made from the literals k - 6 and k - 5.
    for (int code : {6, 100, 4095}) {
        put(code);
        expected.push_back(literal(code - 6));
        expected.push_back(literal(code - 5));
    }
    put(5);
    const Decoded d = decode(subBlocksOf(codes), 2, expected.size());
    EXPECT_EQ(d.pixels, expected);
}

TEST(LzwDecoder, DataWithoutALeadingClearCodeDecodes)
{
    const Decoded d = decode(subBlocksOf({{3, 3}, {2, 3}, {6, 3}, {5, 4}}), 2, 4);
    EXPECT_EQ(d.pixels, (std::vector<std::uint8_t>{3, 2, 3, 2}));
}

struct DamagedCase
{
    const char *name;
    std::vector<std::pair<int, int>> codes;
    std::vector<std::uint8_t> kept;
};

void PrintTo(const DamagedCase &c, std::ostream *os)
{
    *os << c.name;
}

class LzwDamaged : public ::testing::TestWithParam<DamagedCase>
{
};

// Damaged data stops the decoder; what it wrote before stays.
TEST_P(LzwDamaged, StopsAndKeepsThePixelsBefore)
{
    const Decoded d = decode(subBlocksOf(GetParam().codes), 2, 8);
    EXPECT_EQ(d.pixels, GetParam().kept) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
        Cases, LzwDamaged,
        ::testing::Values(
                DamagedCase{"codePastTheTable", {{4, 3}, {1, 3}, {7, 3}, {0, 3}}, {1}},
                DamagedCase{"stringCodeFirst", {{4, 3}, {6, 3}, {1, 3}}, {}},
                DamagedCase{"endCodeEarly", {{4, 3}, {1, 3}, {2, 3}, {5, 3}, {3, 3}}, {1, 2}},
                DamagedCase{"dataRunsOut", {{4, 3}, {1, 3}, {2, 3}, {3, 3}, {1, 4}}, {1, 2, 3, 1}}),
        [](const auto &param) { return param.param.name; });

TEST(LzwDecoder, MinimumCodeSizePastEightDecodesNothing)
{
    const Decoded d = decode(subBlocksOf({{512, 10}, {1, 10}, {513, 10}}), 9, 1);
    EXPECT_EQ(d.count, 0u);
}

TEST(LzwDecoder, StopsAtThePixelCountAndReadsAcrossShortSubBlocks)
{
    const auto pixels = randomPixels(3000, 7, 11);
    auto blocks = compress(pixels, 3);
    // Re-cut the data into sub-blocks of 1 to 17 bytes.
    std::vector<std::uint8_t> data;
    for (std::size_t pos = 0; blocks[pos] != 0; pos += blocks[pos] + 1u)
        data.insert(data.end(), blocks.begin() + static_cast<std::ptrdiff_t>(pos + 1),
                    blocks.begin() + static_cast<std::ptrdiff_t>(pos + 1 + blocks[pos]));
    std::vector<std::uint8_t> recut;
    for (std::size_t i = 0, n = 1; i < data.size(); i += n, n = n % 17 + 1) {
        const std::size_t take = std::min(n, data.size() - i);
        recut.push_back(static_cast<std::uint8_t>(take));
        recut.insert(recut.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                     data.begin() + static_cast<std::ptrdiff_t>(i + take));
    }
    recut.push_back(0);
    const Decoded whole = decode(recut, 3, pixels.size());
    EXPECT_EQ(whole.pixels, pixels);
    const Decoded part = decode(recut, 3, 1234);
    EXPECT_EQ(part.pixels, std::vector<std::uint8_t>(pixels.begin(), pixels.begin() + 1234));
}

} // namespace
} // namespace tessaroc::gif
