#include "gif/GifAnimation.h"
#include "gif/GifParser.h"
#include "gif/GifSingleImage.h"

#include "GifBuilder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tessaroc::gif {
namespace {

using testing::GifBuilder;
using testing::rampPixels;

struct SingleImage
{
    ParsedGif gif;
    std::vector<std::uint8_t> stream;
};

SingleImage singleImageOf(const std::vector<std::uint8_t> &file, int n)
{
    SingleImage s;
    EXPECT_GE(ParseGif(file, s.gif), n);
    const auto i = static_cast<std::size_t>(n - 1);
    BuildSingleImageGif(file, s.gif.Frames[i], s.gif.ImageSpans[i], s.stream);
    return s;
}

TEST(SingleImageGif, AlwaysCarriesTheUpperCaseSignature)
{
    for (const char *signature : {"gif89a", "GIF87a", "gIf87A"}) {
        const auto file = GifBuilder()
                                  .header(signature, 9, 9, 2)
                                  .image(3, 4, 2, 2, rampPixels(2, 2, 2))
                                  .trailer()
                                  .bytes;
        const SingleImage s = singleImageOf(file, 1);
        EXPECT_EQ(std::string(s.stream.begin(), s.stream.begin() + 6), "GIF89a") << signature;
    }
}

TEST(SingleImageGif, ScreenIsTheImageAndTheTableTheIdentity)
{
    const auto file = GifBuilder()
                              .header("GIF89a", 40, 30, 4, 9)
                              .image(5, 6, 7, 3, rampPixels(7, 3, 4))
                              .trailer()
                              .bytes;
    const SingleImage s = singleImageOf(file, 1);
    const auto &st = s.stream;
    EXPECT_EQ(st[6], 7);
    EXPECT_EQ(st[8], 3);
    EXPECT_EQ(st[10], file[10] | 0x87);
    EXPECT_EQ(st[11], 9); // background index kept from the file
    EXPECT_TRUE(std::equal(kIdentityPalette.begin(), kIdentityPalette.end(), st.begin() + 13));
    EXPECT_EQ(kIdentityPalette[3 * 200 + 2], 200);
    // No extension: the image follows the table, at (0, 0).
    EXPECT_EQ(st[781], 0x2C);
    EXPECT_EQ(std::vector<std::uint8_t>(st.begin() + 782, st.begin() + 786),
              std::vector<std::uint8_t>(4, 0));
    EXPECT_EQ(st.back(), 0x3B);
    const ImageSpan &span = s.gif.ImageSpans[0];
    EXPECT_EQ(st.size(), 781 + span.length + 1);
    EXPECT_TRUE(std::equal(st.begin() + 786, st.end() - 1,
                           file.begin() + static_cast<std::ptrdiff_t>(span.start + 5)));
}

TEST(SingleImageGif, ExtensionKeepsItsFieldsWithTheTransparentFlagCleared)
{
    const auto file = GifBuilder()
                              .header("GIF89a", 2, 2, 4)
                              .graphicControl(2, 0x1234, 3)
                              .image(0, 0, 2, 2, rampPixels(2, 2, 4))
                              .trailer()
                              .bytes;
    const SingleImage s = singleImageOf(file, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(s.stream.begin() + 781, s.stream.begin() + 789),
              (std::vector<std::uint8_t>{0x21, 0xF9, 0x04, 2 << 2, 0x34, 0x12, 3, 0x00}));
    EXPECT_EQ(s.stream[789], 0x2C);
}

TEST(SingleImageGif, ExtensionWithAnOddBlockSizeIsWrittenWellFormed)
{
    // The file's block claims 5 bytes; the copy says 4 so the image is found.
    const auto file = GifBuilder()
                              .header("GIF89a", 2, 2, 4)
                              .graphicControl(0, 3, std::nullopt, 5)
                              .image(0, 0, 2, 2, rampPixels(2, 2, 4))
                              .trailer()
                              .bytes;
    GifAnimation anim;
    ASSERT_EQ(anim.LoadGifArray(file), 1);
    EXPECT_EQ(std::vector<std::uint8_t>(anim.framePixels(1).begin(), anim.framePixels(1).end()),
              rampPixels(2, 2, 4));
}

TEST(SingleImageGif, LocalTableIsOverwrittenByTheIdentityForItsOwnSizeOnly)
{
    const auto file = GifBuilder()
                              .header("GIF89a", 2, 2, 0)
                              .image(0, 0, 2, 2, rampPixels(2, 2, 4), 4)
                              .trailer()
                              .bytes;
    const SingleImage s = singleImageOf(file, 1);
    const std::size_t table = 781 + 10;
    EXPECT_TRUE(std::equal(kIdentityPalette.begin(), kIdentityPalette.begin() + 12,
                           s.stream.begin() + table));
    // The byte after the 12 table bytes is the image's minimum code size.
    EXPECT_EQ(s.stream[table + 12], file[s.gif.ImageSpans[0].start + 10 + 12]);
}

TEST(GifPictureLoader, UndoesInterlacing)
{
    // 11 rows: stored in the order 0 8 | 4 | 2 6 10 | 1 3 5 7 9.
    const int width = 3;
    const int height = 11;
    const int order[] = {0, 8, 4, 2, 6, 10, 1, 3, 5, 7, 9};
    std::vector<std::uint8_t> stored;
    for (int row : order)
        for (int x = 0; x < width; ++x)
            stored.push_back(static_cast<std::uint8_t>(row * 10 + x));
    const auto file = GifBuilder()
                              .header("GIF89a", width, height, 256)
                              .image(0, 0, width, height, stored, 0, true)
                              .trailer()
                              .bytes;
    GifAnimation anim;
    ASSERT_EQ(anim.LoadGifArray(file), 1);
    const auto pixels = anim.framePixels(1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(pixels[static_cast<std::size_t>(y * width + x)], y * 10 + x) << y << "," << x;
}

TEST(GifPictureLoader, RefusesStreamsThatAreNotOneFullImage)
{
    const auto file = GifBuilder()
                              .header("GIF89a", 2, 2, 4)
                              .image(0, 0, 2, 2, rampPixels(2, 2, 4, 1))
                              .trailer()
                              .bytes;
    const SingleImage s = singleImageOf(file, 1);
    GifPictureLoader loader;
    std::vector<std::uint8_t> out(6 + LzwDecoder::kSlack, 7);
    auto stream = s.stream;
    EXPECT_TRUE(loader.load(stream, 2, 2, out.data()));
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + 4), rampPixels(2, 2, 4, 1));

    stream = s.stream;
    EXPECT_FALSE(loader.load(stream, 3, 2, out.data())); // another size
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + 6),
              std::vector<std::uint8_t>(6, 0));
    stream = s.stream;
    std::memcpy(stream.data(), "gif89a", 6);
    EXPECT_FALSE(loader.load(stream, 2, 2, out.data()));
    stream = s.stream;
    EXPECT_FALSE(loader.load(std::span(stream).first(790), 2, 2, out.data()));
}

} // namespace
} // namespace tessaroc::gif
