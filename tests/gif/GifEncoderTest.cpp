#include "gif/GifEncoder.h"
#include "gif/GifAnimation.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace tessaroc::gif {
namespace {

std::vector<std::uint32_t> palette(int colors, int seed = 0)
{
    std::vector<std::uint32_t> p;
    for (int i = 0; i < colors; ++i)
        p.push_back(static_cast<std::uint32_t>((i * 7919 + seed * 104729) & 0xFFFFFF));
    return p;
}

std::vector<std::uint8_t> randomPixels(int width, int height, int colors, std::mt19937 &random)
{
    std::uniform_int_distribution<int> pick(0, colors - 1);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (auto &p : pixels)
        p = static_cast<std::uint8_t>(pick(random));
    return pixels;
}

// Random animations written by the encoder read back with every frame's
// place, pixels, colours, time, disposal and transparency as written.
TEST(GifEncoder, AnimationsReadBackAsWritten)
{
    std::mt19937 random(2024);
    for (int round = 0; round < 40; ++round) {
        GifFileData gif;
        gif.screenWidth = 1 + static_cast<int>(random() % 60);
        gif.screenHeight = 1 + static_cast<int>(random() % 60);
        const int globalColors = static_cast<int>(random() % 257);
        gif.globalPalette = palette(globalColors, round);
        if (round % 3)
            gif.loops = static_cast<std::uint16_t>(random() % 5);
        const int frames = 1 + static_cast<int>(random() % 6);
        for (int f = 0; f < frames; ++f) {
            GifImageData image;
            image.width = 1 + static_cast<int>(random() % 40);
            image.height = 1 + static_cast<int>(random() % 40);
            image.left = static_cast<int>(random() % 30);
            image.top = static_cast<int>(random() % 30);
            if (globalColors == 0 || random() % 2)
                image.palette = palette(1 + static_cast<int>(random() % 256), f + 1);
            const int colors
                    = static_cast<int>(image.palette.empty() ? globalColors : image.palette.size());
            image.pixels = randomPixels(image.width, image.height, colors, random);
            image.delayMs = static_cast<int>(random() % 50) * 10;
            image.disposal = static_cast<std::uint8_t>(f == 0 ? random() % 3 : random() % 4);
            if (random() % 2)
                image.transparentIndex
                        = static_cast<std::uint8_t>(random() % static_cast<unsigned>(colors));
            gif.images.push_back(std::move(image));
        }

        GifAnimation anim;
        ASSERT_EQ(anim.LoadGifArray(EncodeGif(gif)), frames) << "round " << round;
        anim.BuildFrames();
        EXPECT_EQ(anim.Loops(), gif.loops.value_or(0));
        for (int n = 1; n <= frames; ++n) {
            const GifImageData &image = gif.images[static_cast<std::size_t>(n - 1)];
            const GifFrame &f = anim.frame(n);
            ASSERT_EQ(f.left, image.left);
            ASSERT_EQ(f.top, image.top);
            ASSERT_EQ(f.width, image.width);
            ASSERT_EQ(f.height, image.height);
            ASSERT_EQ(f.delay, image.delayMs);
            ASSERT_EQ(f.disposal, image.disposal);
            ASSERT_EQ(f.transparent, image.transparentIndex.has_value());
            if (image.transparentIndex) {
                ASSERT_EQ(f.TransparentIndex, *image.transparentIndex);
            }
            const auto pixels = anim.framePixels(n);
            ASSERT_EQ(std::vector<std::uint8_t>(pixels.begin(), pixels.end()), image.pixels)
                    << "frame " << n;
            const auto &colors = image.palette.empty() ? gif.globalPalette : image.palette;
            const ColorTable &table = anim.colorTable(n);
            for (std::size_t i = 0; i < colors.size(); ++i)
                ASSERT_EQ(table.colors[i], colors[i]);
        }
    }
}

TEST(GifEncoder, UsesTheSmallestTablesAndCodeSizes)
{
    GifFileData gif{3, 1, {0xFF0000, 0x00FF00, 0x0000FF}, std::nullopt, {}};
    gif.images.push_back({0, 0, 3, 1, {0, 1, 2}, {}, 0, 0, std::nullopt});
    const auto bytes = EncodeGif(gif);
    EXPECT_EQ(bytes[10], 0x80 | (1 << 4) | 1); // four entries
    EXPECT_EQ(bytes[13 + 12], 0x2C); // no extension for a plain still
    EXPECT_EQ(bytes[13 + 12 + 10], 2); // minimum code size
    EXPECT_EQ(bytes.back(), 0x3B);
}

TEST(GifEncoder, RoundsDelaysToHundredths)
{
    GifFileData gif{1, 1, {0}, std::nullopt, {}};
    for (int delay : {4, 5, 44, 45, 1000})
        gif.images.push_back({0, 0, 1, 1, {0}, {}, delay, 0, std::nullopt});
    GifAnimation anim;
    ASSERT_EQ(anim.LoadGifArray(EncodeGif(gif)), 5);
    EXPECT_EQ(anim.frame(1).delay, 0);
    EXPECT_EQ(anim.frame(2).delay, 10);
    EXPECT_EQ(anim.frame(3).delay, 40);
    EXPECT_EQ(anim.frame(4).delay, 50);
    EXPECT_EQ(anim.frame(5).delay, 1000);
}

struct BadInput
{
    const char *name;
    void (*spoil)(GifFileData &);
};

void PrintTo(const BadInput &c, std::ostream *os)
{
    *os << c.name;
}

class GifEncoderRefuses : public ::testing::TestWithParam<BadInput>
{
};

TEST_P(GifEncoderRefuses, WithAClearMessage)
{
    GifFileData gif{4, 4, {0, 0xFFFFFF}, std::nullopt, {}};
    gif.images.push_back({0, 0, 2, 2, {0, 1, 1, 0}, {}, 0, 0, std::nullopt});
    EXPECT_NO_THROW(EncodeGif(gif));
    GetParam().spoil(gif);
    EXPECT_THROW(EncodeGif(gif), std::invalid_argument) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Cases, GifEncoderRefuses,
                         ::testing::Values(BadInput{"noImage",
                                                    [](GifFileData &g) {
                                                        g.images.clear();
                                                    }},
                                           BadInput{"wideScreen",
                                                    [](GifFileData &g) {
                                                        g.screenWidth = 65536;
                                                    }},
                                           BadInput{"negativeLeft",
                                                    [](GifFileData &g) {
                                                        g.images[0].left = -1;
                                                    }},
                                           BadInput{"pixelCount",
                                                    [](GifFileData &g) {
                                                        g.images[0].pixels.push_back(0);
                                                    }},
                                           BadInput{"indexPastTable",
                                                    [](GifFileData &g) {
                                                        g.images[0].pixels[3] = 2;
                                                    }},
                                           BadInput{"transparentPastTable",
                                                    [](GifFileData &g) {
                                                        g.images[0].transparentIndex = 2;
                                                    }},
                                           BadInput{"noTable",
                                                    [](GifFileData &g) {
                                                        g.globalPalette.clear();
                                                    }},
                                           BadInput{"tableTooLarge",
                                                    [](GifFileData &g) {
                                                        g.images[0].palette.assign(257, 0);
                                                    }},
                                           BadInput{"disposal",
                                                    [](GifFileData &g) {
                                                        g.images[0].disposal = 4;
                                                    }},
                                           BadInput{"delay",
                                                    [](GifFileData &g) {
                                                        g.images[0].delayMs = -10;
                                                    }}),
                         [](const auto &param) { return param.param.name; });

} // namespace
} // namespace tessaroc::gif
