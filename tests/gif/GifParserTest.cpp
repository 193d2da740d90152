#include "gif/GifParser.h"

#include "GifBuilder.h"

#include <gtest/gtest.h>

#include <string>

namespace tessaroc::gif {
namespace {

using testing::GifBuilder;
using testing::rampPixels;

int parse(const std::vector<std::uint8_t> &bytes, ParsedGif *out = nullptr)
{
    ParsedGif gif;
    const int count = ParseGif(bytes, gif);
    if (out)
        *out = gif;
    return count;
}

// One 2 x 2 image on a 4-colour global table behind the given signature.
std::vector<std::uint8_t> smallGif(std::string_view signature)
{
    return GifBuilder()
            .header(signature, 2, 2, 4)
            .image(0, 0, 2, 2, rampPixels(2, 2, 4), 0, false, 2)
            .trailer()
            .bytes;
}

struct SignatureCase
{
    const char *signature;
    int frames;
};

void PrintTo(const SignatureCase &c, std::ostream *os)
{
    *os << c.signature;
}

class GifSignature : public ::testing::TestWithParam<SignatureCase>
{
};

TEST_P(GifSignature, AnyLetterCaseOfTheTwoVersions)
{
    EXPECT_EQ(parse(smallGif(GetParam().signature)), GetParam().frames) << GetParam().signature;
}

INSTANTIATE_TEST_SUITE_P(Signatures, GifSignature,
                         ::testing::Values(SignatureCase{"GIF89a", 1}, SignatureCase{"GIF89A", 1},
                                           SignatureCase{"gif87a", 1}, SignatureCase{"GiF87A", 1},
                                           SignatureCase{"GIF88a", 0}, SignatureCase{"GIF89b", 0},
                                           SignatureCase{"PNG89a", 0}));

TEST(GifParser, RefusesDataTooShortForAHeader)
{
    for (std::size_t length : {0u, 5u, 6u, 10u, 11u, 13u}) {
        auto bytes = smallGif("GIF89a");
        bytes.resize(length);
        EXPECT_EQ(parse(bytes), 0) << length << " bytes";
    }
}

TEST(GifParser, ScreenIsTheSmallestThatHoldsTheImages)
{
    ParsedGif gif;
    // The header says 100 x 100; the only image is 50 x 50 at (10, 10).
    ASSERT_EQ(parse(GifBuilder()
                            .header("GIF89a", 100, 100, 2)
                            .image(10, 10, 50, 50, rampPixels(50, 50, 2))
                            .trailer()
                            .bytes,
                    &gif),
              1);
    EXPECT_EQ(gif.ScreenWidth, 60);
    EXPECT_EQ(gif.ScreenHeight, 60);

    // An image reaching past the declared screen enlarges it.
    ASSERT_EQ(parse(GifBuilder()
                            .header("GIF89a", 20, 20, 2)
                            .image(0, 0, 20, 20, rampPixels(20, 20, 2))
                            .image(15, 5, 10, 30, rampPixels(10, 30, 2))
                            .trailer()
                            .bytes,
                    &gif),
              2);
    EXPECT_EQ(gif.ScreenWidth, 25);
    EXPECT_EQ(gif.ScreenHeight, 35);
}

TEST(GifParser, LoopCountFromTheApplicationExtension)
{
    const auto withLoops = [](auto build) {
        GifBuilder b;
        b.header("GIF89a", 1, 1, 2);
        build(b);
        b.image(0, 0, 1, 1, {0}).trailer();
        ParsedGif gif;
        EXPECT_EQ(ParseGif(b.bytes, gif), 1);
        return gif.Loops;
    };
    EXPECT_EQ(withLoops([](GifBuilder &b) { b.loops(3); }), 3);
    EXPECT_EQ(withLoops([](GifBuilder &b) { b.loops(65535); }), 65535);
    EXPECT_EQ(withLoops([](GifBuilder &b) { b.loops(0); }), 0);
    EXPECT_EQ(withLoops([](GifBuilder &) {}), 0);
    EXPECT_EQ(withLoops([](GifBuilder &b) { b.loops(7, "netscape2.0"); }), 7);
    EXPECT_EQ(withLoops([](GifBuilder &b) { b.loops(7, "ANIMEXTS1.0"); }), 0);
    // A first sub-block of 5 bytes leaves the count alone and is skipped whole.
    EXPECT_EQ(withLoops([](GifBuilder &b) {
                  b.loops(9).raw({0x21, 0xFF, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E',
                                  '2',  '.',  '0', 5,   1,   4,   0,   0,   0,   0});
              }),
              9);
}

TEST(GifParser, GraphicControlAppliesToTheNextImageOnly)
{
    ParsedGif gif;
    ASSERT_EQ(parse(GifBuilder()
                            .header("GIF89a", 4, 4, 4)
                            .graphicControl(1, 7, 3)
                            .image(0, 0, 4, 4, rampPixels(4, 4, 4))
                            .image(0, 0, 4, 4, rampPixels(4, 4, 4))
                            .graphicControl(2, 50)
                            .graphicControl(1, 12, 2) // the second of two counts
                            .image(1, 1, 2, 2, rampPixels(2, 2, 4))
                            .trailer()
                            .bytes,
                    &gif),
              3);
    const GifFrame &first = gif.Frames[0];
    EXPECT_EQ(first.delay, 70);
    EXPECT_EQ(first.disposal, 1);
    EXPECT_TRUE(first.transparent);
    EXPECT_EQ(first.TransparentIndex, 3);

    const GifFrame &second = gif.Frames[1];
    EXPECT_EQ(second.delay, 0);
    EXPECT_EQ(second.disposal, 0);
    EXPECT_FALSE(second.transparent);
    EXPECT_EQ(second.ExtStart, gif.ImageSpans[1].start);

    const GifFrame &third = gif.Frames[2];
    EXPECT_EQ(third.delay, 120);
    EXPECT_EQ(third.disposal, 1);
    EXPECT_EQ(third.TransparentIndex, 2);
    EXPECT_EQ(gif.ImageSpans[2].start - third.ExtStart, 8u);
}

struct DisposalCase
{
    int field;
    int onFirst;
    int onSecond;
};

void PrintTo(const DisposalCase &c, std::ostream *os)
{
    *os << "field " << c.field;
}

class GifDisposalField : public ::testing::TestWithParam<DisposalCase>
{
};

TEST_P(GifDisposalField, KeepsTheLowTwoBitsAndNoRestoreOnTheFirstImage)
{
    const DisposalCase c = GetParam();
    ParsedGif gif;
    ASSERT_EQ(parse(GifBuilder()
                            .header("GIF89a", 1, 1, 2)
                            .graphicControl(c.field, 0)
                            .image(0, 0, 1, 1, {0})
                            .graphicControl(c.field, 0)
                            .image(0, 0, 1, 1, {1})
                            .trailer()
                            .bytes,
                    &gif),
              2);
    EXPECT_EQ(gif.Frames[0].disposal, c.onFirst);
    EXPECT_EQ(gif.Frames[1].disposal, c.onSecond);
}

INSTANTIATE_TEST_SUITE_P(Fields, GifDisposalField,
                         ::testing::Values(DisposalCase{0, 0, 0}, DisposalCase{1, 1, 1},
                                           DisposalCase{2, 2, 2}, DisposalCase{3, 0, 3},
                                           DisposalCase{4, 0, 0}, DisposalCase{5, 1, 1},
                                           DisposalCase{6, 2, 2}, DisposalCase{7, 0, 3}));

TEST(GifParser, SpansRunFromTheSeparatorThroughTheTerminator)
{
    ParsedGif gif;
    const auto bytes = GifBuilder()
                               .header("GIF89a", 3, 3, 4)
                               .comment("hello")
                               .image(0, 0, 3, 3, rampPixels(3, 3, 4))
                               .image(0, 0, 2, 2, rampPixels(2, 2, 8), 8)
                               .trailer()
                               .bytes;
    ASSERT_EQ(parse(bytes, &gif), 2);
    for (const ImageSpan &span : gif.ImageSpans) {
        EXPECT_EQ(bytes[span.start], 0x2C);
        EXPECT_EQ(bytes[span.start + span.length - 1], 0x00);
    }
    EXPECT_EQ(gif.ImageSpans[0].start + gif.ImageSpans[0].length, gif.ImageSpans[1].start);
    EXPECT_EQ(gif.ImageSpans[1].start + gif.ImageSpans[1].length, bytes.size() - 1);
    EXPECT_EQ(gif.Frames[0].TableIndex, 0);
    EXPECT_EQ(gif.Frames[1].TableIndex, 1);
    ASSERT_EQ(gif.ColorTables.size(), 2u);
    EXPECT_EQ(gif.ColorTables[0].count, 4);
    EXPECT_EQ(gif.ColorTables[1].count, 8);
    EXPECT_EQ(gif.ColorTables[1].colors[5], GifBuilder::colour(5));
    EXPECT_EQ(gif.ColorTables[1].colors[8], 0u);
}

TEST(GifParser, SkipsZeroBytesBetweenBlocksAndStopsAtTheTrailer)
{
    auto bytes = GifBuilder()
                         .header("GIF89a", 1, 1, 2)
                         .raw({0, 0, 0})
                         .image(0, 0, 1, 1, {1})
                         .raw({0})
                         .trailer()
                         .bytes;
    // Behind the trailer: what would be one more image, never read.
    const auto more = GifBuilder().image(0, 0, 1, 1, {0}).bytes;
    bytes.insert(bytes.end(), more.begin(), more.end());
    EXPECT_EQ(parse(bytes), 1);
}

TEST(GifParser, AnyOtherByteWhereABlockShouldStartEndsTheParse)
{
    const auto bytes = GifBuilder()
                               .header("GIF89a", 1, 1, 2)
                               .image(0, 0, 1, 1, {1})
                               .raw({0x99})
                               .image(0, 0, 1, 1, {0})
                               .trailer()
                               .bytes;
    EXPECT_EQ(parse(bytes), 1);
}

TEST(GifParser, AnImageWithNoTableToUseRefusesTheWholeFile)
{
    // No global table; the first image brings its own, the second does not.
    const auto bytes = GifBuilder()
                               .header("GIF89a", 2, 2, 0)
                               .image(0, 0, 2, 2, rampPixels(2, 2, 4), 4)
                               .image(0, 0, 2, 2, rampPixels(2, 2, 4))
                               .trailer()
                               .bytes;
    EXPECT_EQ(parse(bytes), 0);
    ParsedGif gif;
    EXPECT_EQ(parse(GifBuilder()
                            .header("GIF89a", 2, 2, 0)
                            .image(0, 0, 2, 2, rampPixels(2, 2, 4), 4)
                            .trailer()
                            .bytes,
                    &gif),
              1);
    EXPECT_EQ(gif.Frames[0].TableIndex, 1);
}

TEST(GifParser, AFileCutInItsThirdImageGivesTwoFrames)
{
    GifBuilder b;
    b.header("GIF89a", 8, 8, 4);
    for (int i = 0; i < 3; ++i)
        b.graphicControl(1, 10).image(0, 0, 8, 8, rampPixels(8, 8, 4, i));
    const std::size_t thirdStart
            = b.bytes.size() - GifBuilder().image(0, 0, 8, 8, rampPixels(8, 8, 4, 2)).bytes.size();
    b.trailer();

    auto cut = b.bytes;
    cut.resize(thirdStart + 14); // inside the third image's data
    EXPECT_EQ(parse(cut), 2);
}

// Whatever the length a file is cut at, exactly the images whose data
// terminator lies inside the cut are kept, and no span reaches past it.
TEST(GifParser, EveryCutKeepsOnlyImagesCompletedInsideTheData)
{
    GifBuilder b;
    b.header("GIF89a", 30, 30, 16).loops(2);
    std::vector<std::size_t> ends;
    for (int i = 0; i < 4; ++i) {
        b.graphicControl(i % 4, 5, static_cast<std::uint8_t>(i)).comment("frame");
        b.image(i, i, 30 - i, 30 - i, rampPixels(30 - i, 30 - i, 16, i * 7));
        ends.push_back(b.bytes.size());
    }
    b.trailer();

    for (std::size_t length = 0; length <= b.bytes.size(); ++length) {
        const std::vector<std::uint8_t> cut(b.bytes.begin(),
                                            b.bytes.begin() + static_cast<std::ptrdiff_t>(length));
        ParsedGif gif;
        const int count = ParseGif(cut, gif);
        const auto complete = std::count_if(ends.begin(), ends.end(),
                                            [&](std::size_t end) { return end <= length; });
        ASSERT_EQ(count, complete) << "cut at " << length;
        for (const ImageSpan &span : gif.ImageSpans)
            ASSERT_LE(span.start + span.length, length);
    }
}

TEST(GifParser, RefusesMoreFramesThanTheBound)
{
    const auto withFrames = [](int frames) {
        GifBuilder b;
        b.header("GIF89a", 1, 1, 2);
        for (int i = 0; i < frames; ++i)
            b.raw({0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0});
        return b.trailer().bytes;
    };
    EXPECT_EQ(parse(withFrames(kMaxGifFrames)), kMaxGifFrames);
    EXPECT_EQ(parse(withFrames(kMaxGifFrames + 1)), 0);
}

TEST(GifParser, PlainTextBlockIsSkippedAsSubBlocks)
{
    const auto bytes = GifBuilder()
                               .header("GIF89a", 2, 2, 2)
                               .raw({0x21, 0x01, 12, 0, 0, 0, 0,   2,   0,   2,
                                     0,    1,    1,  0, 1, 3, 'a', 'b', 'c', 0})
                               .image(0, 0, 2, 2, rampPixels(2, 2, 2))
                               .trailer()
                               .bytes;
    EXPECT_EQ(parse(bytes), 1);
}

} // namespace
} // namespace tessaroc::gif
