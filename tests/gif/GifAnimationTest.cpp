#include "gif/GifAnimation.h"
#include "gif/GifEncoder.h"
#include "gif/GifParser.h"
#include "gif/GifScale.h"

#include "GifBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

namespace tessaroc::gif {
namespace {

using testing::GifBuilder;
using testing::rampPixels;

constexpr std::uint32_t kClear = 0;
constexpr std::uint32_t kBlack = 0xFF000000u;

std::uint32_t opaque(int index)
{
    return 0xFF000000u | GifBuilder::colour(index);
}

// A picture written as one row of characters per pixel row: '.' for
// transparent, '#' for black, a digit or letter for that colour index of the
// builder's tables, so a failing test prints the picture it got.
std::string picture(std::span<const std::uint32_t> canvas, int width)
{
    std::string out;
    for (std::size_t i = 0; i < canvas.size(); ++i) {
        char c = '?';
        if (canvas[i] == kClear)
            c = '.';
        if (canvas[i] == kBlack)
            c = '#';
        for (int k = 0; k < 36; ++k)
            if (canvas[i] == opaque(k))
                c = "0123456789abcdefghijklmnopqrstuvwxyz"[k];
        out += c;
        if ((i + 1) % static_cast<std::size_t>(width) == 0)
            out += '\n';
    }
    return out;
}

// Frame n composed, as it shows over the animation's backdrop.
std::string composed(GifAnimation &anim, int n)
{
    const auto canvas = anim.ComposeFrame(n);
    std::vector<std::uint32_t> shown(canvas.begin(), canvas.end());
    if (anim.backdrop() == GifComposer::Backdrop::Black)
        std::replace(shown.begin(), shown.end(), kClear, kBlack);
    return picture(shown, anim.ScreenWidth());
}

std::vector<std::uint8_t> filled(int width, int height, std::uint8_t index)
{
    return std::vector<std::uint8_t>(static_cast<std::size_t>(width * height), index);
}

TEST(GifAnimationLoad, BuildsTheFirstFrameThenTheRest)
{
    const auto file = GifBuilder()
                              .header("GIF89a", 4, 2, 4)
                              .loops(2)
                              .graphicControl(1, 10)
                              .image(0, 0, 4, 2, filled(4, 2, 1))
                              .graphicControl(1, 20)
                              .image(1, 0, 2, 2, filled(2, 2, 2))
                              .trailer()
                              .bytes;
    GifAnimation anim;
    ASSERT_EQ(anim.LoadGifArray(file), 2);
    EXPECT_EQ(anim.BuiltFrameCount(), 1);
    EXPECT_TRUE(anim.buildPending());
    EXPECT_TRUE(anim.ComposeFrame(2).empty());
    EXPECT_EQ(composed(anim, 1), "1111\n1111\n");
    EXPECT_EQ(anim.Loops(), 2);
    EXPECT_EQ(anim.frame(2).delay, 200);

    anim.BuildFrames();
    EXPECT_FALSE(anim.buildPending());
    EXPECT_EQ(composed(anim, 2), "1221\n1221\n");

    anim.FreeFrames();
    EXPECT_EQ(anim.ParsedFrameCount(), 0);
    EXPECT_TRUE(anim.ComposeFrame(1).empty());
}

struct RefusedCase
{
    const char *name;
    std::vector<std::uint8_t> bytes;
};

void PrintTo(const RefusedCase &c, std::ostream *os)
{
    *os << c.name;
}

std::vector<std::uint8_t> withImages(std::initializer_list<std::array<int, 4>> images)
{
    GifBuilder b;
    b.header("GIF89a", 1, 1, 2);
    // Each image holds only a clear and an end code: big frames cost the file
    // nothing, so only the bounds stop them.
    for (const auto &r : images)
        b.descriptor(r[0], r[1], r[2], r[3]).raw({2, 2, 0x44, 0x01, 0});
    return b.trailer().bytes;
}

class GifAnimationRefused : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(GifAnimationRefused, LeavesTheModelEmpty)
{
    GifAnimation anim;
    ASSERT_EQ(
            anim.LoadGifArray(
                    GifBuilder().header("GIF89a", 1, 1, 2).image(0, 0, 1, 1, {1}).trailer().bytes),
            1);
    EXPECT_EQ(anim.LoadGifArray(GetParam().bytes), 0) << GetParam().name;
    EXPECT_EQ(anim.ParsedFrameCount(), 0);
    EXPECT_EQ(anim.BuiltFrameCount(), 0);
    EXPECT_EQ(anim.ScreenWidth(), 0);
    EXPECT_TRUE(anim.ComposeFrame(1).empty());
    EXPECT_TRUE(anim.FrameToPicture(1).empty());
}

INSTANTIATE_TEST_SUITE_P(
        Cases, GifAnimationRefused,
        ::testing::Values(RefusedCase{"empty", {}},
                          RefusedCase{"notAGif", {'G', 'I', 'F', '8', '8', 'a', 0, 0, 0, 0, 0}},
                          // 4096 x 4097 is past the 16 Mpx picture.
                          RefusedCase{"screenTooLarge",
                                      withImages({{0, 0, 1, 1}, {4095, 4096, 1, 1}})},
                          // Five frames of 16 Mpx pass the 64 Mpx of indexes.
                          RefusedCase{"framesTooLarge",
                                      withImages({{0, 0, 4096, 4096},
                                                  {0, 0, 4096, 4096},
                                                  {0, 0, 4096, 4096},
                                                  {0, 0, 4096, 4096},
                                                  {0, 0, 1, 1}})},
                          RefusedCase{"onlyEmptyFrames", withImages({{3, 3, 0, 5}, {1, 1, 0, 7}})},
                          RefusedCase{"oneEmptyFrame", withImages({{0, 0, 0, 0}})}),
        [](const auto &param) { return param.param.name; });

TEST(GifAnimationLoad, AcceptsFramesUpToTheBounds)
{
    GifAnimation anim;
    EXPECT_EQ(anim.LoadGifArray(withImages({{0, 0, 4096, 4096},
                                            {0, 0, 4096, 4096},
                                            {0, 0, 4096, 4096},
                                            {0, 0, 4096, 4096}})),
              4);
    // An empty frame among others is kept and draws nothing: the screen shows
    // black, as where any opaque animation has not drawn yet.
    ASSERT_EQ(anim.LoadGifArray(withImages({{0, 0, 0, 0}, {0, 0, 2, 1}})), 2);
    anim.BuildFrames();
    EXPECT_EQ(composed(anim, 1), "##\n");
    EXPECT_EQ(composed(anim, 2), "00\n");
}

TEST(GifAnimationLoad, UndecodableFrameStaysBlankAndTheOthersPlay)
{
    GifBuilder b;
    b.header("GIF89a", 2, 1, 4).image(0, 0, 2, 1, {1, 2});
    b.descriptor(0, 0, 2, 1).raw({2, 1, 0xFF, 0}); // a code past the table at once
    b.descriptor(0, 0, 2, 1).raw({12, 1, 0xFF, 0}); // no such code size
    b.image(0, 0, 2, 1, {3, 3}).trailer();
    GifAnimation anim;
    ASSERT_EQ(anim.LoadGifArray(b.bytes), 4);
    anim.BuildFrames();
    EXPECT_EQ(composed(anim, 2), "00\n");
    EXPECT_EQ(composed(anim, 3), "00\n");
    EXPECT_EQ(composed(anim, 4), "33\n");
}

TEST(GifAnimationLoad, IndexPastTheTableShowsBlack)
{
    GifAnimation anim;
    ASSERT_EQ(anim.LoadGifArray(GifBuilder()
                                        .header("GIF89a", 2, 1, 2)
                                        .image(0, 0, 2, 1, {1, 7}, 0, false, 3)
                                        .trailer()
                                        .bytes),
              1);
    const auto canvas = anim.ComposeFrame(1);
    EXPECT_EQ(canvas[0], opaque(1));
    EXPECT_EQ(canvas[1], 0xFF000000u);
}

// A background frame, then frames on top of it with each disposal.
class GifComposition : public ::testing::Test
{
protected:
    GifAnimation anim;

    void load(GifBuilder &b)
    {
        ASSERT_GT(anim.LoadGifArray(b.trailer().bytes), 0);
        anim.BuildFrames();
    }
};

TEST_F(GifComposition, EveryPassStartsFromATransparentPicture)
{
    GifBuilder b;
    b.header("GIF89a", 3, 2, 4).image(0, 0, 2, 1, {1, 1});
    b.graphicControl(1, 0, 0).image(1, 1, 2, 1, {2, 2});
    load(b);
    EXPECT_EQ(composed(anim, 1), "11.\n...\n");
    EXPECT_EQ(composed(anim, 2), "11.\n.22\n");
    EXPECT_EQ(composed(anim, 1), "11.\n...\n");
}

// Where no frame has drawn yet, an animation shows what lies under the
// control, except one that is composed without a mask: no transparent frame,
// none that gives its area back, a first frame smaller than the screen. That
// one shows black there. A single picture is not composed at all.
struct BackdropCase
{
    const char *name;
    std::function<void(GifBuilder &)> frames;
    std::vector<std::string> shown;
};

void PrintTo(const BackdropCase &c, std::ostream *os)
{
    *os << c.name;
}

class GifBackdrop : public GifComposition, public ::testing::WithParamInterface<BackdropCase>
{
};

TEST_P(GifBackdrop, WhereNoFrameHasDrawn)
{
    GifBuilder b;
    b.header("GIF89a", 4, 1, 4);
    GetParam().frames(b);
    load(b);
    for (int n = 1; n <= anim.ParsedFrameCount(); ++n)
        EXPECT_EQ(composed(anim, n), GetParam().shown[static_cast<std::size_t>(n - 1)])
                << "frame " << n;
}

INSTANTIATE_TEST_SUITE_P(
        Cases, GifBackdrop,
        ::testing::Values(BackdropCase{"opaqueFramesShowBlack",
                                       [](GifBuilder &b) {
                                           b.image(1, 0, 1, 1, {1}).image(3, 0, 1, 1, {2});
                                           b.graphicControl(1, 0).image(0, 0, 1, 1, {3});
                                       },
                                       {"#1##\n", "#1#2\n", "31#2\n"}},
                          BackdropCase{"aLaterFrameWithTransparency",
                                       [](GifBuilder &b) {
                                           b.image(1, 0, 1, 1, {1});
                                           b.graphicControl(1, 0, 0).image(3, 0, 1, 1, {2});
                                       },
                                       {".1..\n", ".1.2\n"}},
                          BackdropCase{"aTransparentFirstFrame",
                                       [](GifBuilder &b) {
                                           b.graphicControl(1, 0, 3).image(1, 0, 1, 1, {1});
                                           b.image(3, 0, 1, 1, {2});
                                       },
                                       {".1..\n", ".1.2\n"}},
                          BackdropCase{"aFrameRestoringTheBackground",
                                       [](GifBuilder &b) {
                                           b.image(1, 0, 1, 1, {1});
                                           b.graphicControl(2, 0).image(3, 0, 1, 1, {2});
                                       },
                                       {".1..\n", ".1.2\n"}},
                          BackdropCase{"aFrameRestoringThePrevious",
                                       [](GifBuilder &b) {
                                           b.image(1, 0, 1, 1, {1});
                                           b.graphicControl(3, 0).image(3, 0, 1, 1, {2});
                                       },
                                       {".1..\n", ".1.2\n"}},
                          BackdropCase{"aFirstFrameOverTheWholeScreen",
                                       [](GifBuilder &b) {
                                           b.image(0, 0, 4, 1, {1, 1, 1, 1});
                                           b.graphicControl(1, 0, 0).image(3, 0, 1, 1, {0});
                                       },
                                       {"1111\n", "1111\n"}},
                          BackdropCase{"aSinglePicture",
                                       [](GifBuilder &b) {
                                           b.image(2, 0, 2, 1, {1, 2});
                                       },
                                       {"..12\n"}}),
        [](const auto &param) { return std::string(param.param.name); });

TEST_F(GifComposition, TransparentPixelsShowWhatLiesUnder)
{
    GifBuilder b;
    b.header("GIF89a", 3, 1, 4)
            .image(0, 0, 3, 1, {1, 1, 1})
            .graphicControl(1, 0, 0)
            .image(0, 0, 3, 1, {2, 0, 2});
    b.image(0, 0, 3, 1, {0, 3, 0}); // the same table, no transparency: index 0 is a colour again
    load(b);
    EXPECT_EQ(composed(anim, 2), "212\n");
    EXPECT_EQ(composed(anim, 3), "030\n");
}

TEST_F(GifComposition, RestoreToBackgroundMakesTheAreaTransparent)
{
    GifBuilder b;
    b.header("GIF89a", 4, 1, 4)
            .image(0, 0, 4, 1, {1, 1, 1, 1})
            .graphicControl(2, 0)
            .image(1, 0, 2, 1, {2, 2});
    b.graphicControl(0, 0, 0).image(0, 0, 1, 1, {0});
    load(b);
    EXPECT_EQ(composed(anim, 2), "1221\n");
    EXPECT_EQ(composed(anim, 3), "1..1\n");
}

TEST_F(GifComposition, RestoreToPreviousPutsTheBackgroundBack)
{
    GifBuilder b;
    b.header("GIF89a", 4, 2, 4).graphicControl(0, 0, 0).image(0, 0, 4, 2, {1, 1, 0, 1, 0, 1, 1, 1});
    b.graphicControl(3, 0).image(1, 0, 3, 2, filled(3, 2, 2));
    b.graphicControl(0, 0, 0).image(0, 0, 1, 1, {0});
    load(b);
    EXPECT_EQ(composed(anim, 2), "1222\n.222\n");
    EXPECT_EQ(composed(anim, 3), "11.1\n.111\n");
}

// The area put back covers the frame's columns exactly, also when the frame
// starts at a column that is not a multiple of 8 and ends at the screen's
// right edge: transparent pixels there come back transparent.
TEST_F(GifComposition, RestoreToPreviousCoversTheWholeFrameToTheRightEdge)
{
    const int width = 21;
    std::vector<std::uint8_t> background(static_cast<std::size_t>(width * 2), 1);
    for (std::size_t i = 0; i < background.size(); i += 3)
        background[i] = 0; // transparent holes
    GifBuilder b;
    b.header("GIF89a", width, 2, 4).graphicControl(0, 0, 0).image(0, 0, width, 2, background);
    b.graphicControl(3, 0).image(13, 0, 8, 2, filled(8, 2, 2));
    b.image(0, 0, 1, 1, {3});
    load(b);
    const std::string before = composed(anim, 1);
    EXPECT_EQ(composed(anim, 2).substr(13, 8), "22222222");
    std::string expected = before;
    expected[0] = '3';
    EXPECT_EQ(composed(anim, 3), expected);
}

TEST_F(GifComposition, JumpsRecomposeFromTheFirstFrame)
{
    GifBuilder b;
    b.header("GIF89a", 3, 1, 4);
    b.image(0, 0, 3, 1, {1, 1, 1}).graphicControl(3, 0).image(0, 0, 1, 1, {2});
    b.graphicControl(2, 0).image(1, 0, 1, 1, {3}).image(2, 0, 1, 1, {2});
    load(b);
    std::vector<std::string> inOrder;
    for (int n = 1; n <= 4; ++n)
        inOrder.push_back(composed(anim, n));
    EXPECT_EQ(inOrder, (std::vector<std::string>{"111\n", "211\n", "131\n", "1.2\n"}));
    for (int n : {4, 2, 2, 4, 3, 1, 3}) // repeats and jumps in both directions
        EXPECT_EQ(composed(anim, n), inOrder[static_cast<std::size_t>(n - 1)]) << n;
}

TEST_F(GifComposition, MirrorStyleFlipsThePictureAndTheFramesHandedOut)
{
    GifBuilder b;
    b.header("GIF89a", 3, 2, 8).image(0, 0, 2, 1, {1, 2}).image(2, 1, 1, 1, {3});
    load(b);
    EXPECT_EQ(composed(anim, 2), "12#\n##3\n");
    anim.setMirrored(1);
    EXPECT_EQ(composed(anim, 2), "#21\n3##\n");
    anim.setMirrored(2);
    EXPECT_EQ(composed(anim, 2), "##3\n12#\n");
    anim.setMirrored(3);
    EXPECT_EQ(composed(anim, 2), "3##\n#21\n");
    EXPECT_EQ(composed(anim, 1), "###\n#21\n");
    anim.setMirrored(7); // out of range: ignored
    EXPECT_EQ(anim.mirrored(), 3);

    anim.setMirrored(1);
    GifAnimation picture;
    ASSERT_EQ(picture.LoadGifArray(anim.FrameToPicture(1)), 1);
    EXPECT_EQ(
            std::vector<std::uint8_t>(picture.framePixels(1).begin(), picture.framePixels(1).end()),
            (std::vector<std::uint8_t>{2, 1}));
}

// The picture is composed in the mirror style rather than flipped after:
// every disposal, transparency and jump must give exactly the flipped
// picture, the areas put back included.
TEST_F(GifComposition, ComposingMirroredEqualsMirroringThePicture)
{
    GifBuilder b;
    b.header("GIF89a", 5, 3, 4).graphicControl(0, 0, 0).image(0, 0, 4, 2, filled(4, 2, 1));
    b.graphicControl(3, 0).image(1, 1, 3, 2, {2, 0, 2, 2, 2, 0});
    b.graphicControl(2, 0).image(3, 0, 2, 1, {3, 3});
    b.graphicControl(3, 0, 2).image(0, 2, 2, 1, {2, 1});
    b.image(4, 2, 1, 1, {1});
    load(b);
    const int frames = anim.ParsedFrameCount();
    std::vector<std::vector<std::uint32_t>> plain;
    for (int n = 1; n <= frames; ++n) {
        const auto canvas = anim.ComposeFrame(n);
        plain.emplace_back(canvas.begin(), canvas.end());
    }
    const auto w = static_cast<std::size_t>(anim.ScreenWidth());
    const auto h = static_cast<std::size_t>(anim.ScreenHeight());
    for (int style = 1; style <= 3; ++style) {
        anim.setMirrored(style);
        for (int n : {1, 2, 3, 4, 5, 3, 1, 5}) {
            const auto canvas = anim.ComposeFrame(n);
            std::vector<std::uint32_t> expected(w * h);
            for (std::size_t y = 0; y < h; ++y)
                for (std::size_t x = 0; x < w; ++x)
                    expected[y * w + x] = plain[static_cast<std::size_t>(n - 1)]
                                               [((style & 2) ? h - 1 - y : y) * w
                                                + ((style & 1) ? w - 1 - x : x)];
            EXPECT_EQ(picture(canvas, anim.ScreenWidth()), picture(expected, anim.ScreenWidth()))
                    << "style " << style << ", frame " << n;
        }
    }
}

// What a step changed: the frame drawn and the area the one before gave
// back, where the mirror style puts them; nothing for the same frame again.
TEST_F(GifComposition, AStepReportsOnlyTheAreaItChanged)
{
    using Rect = GifComposer::Rect;
    GifBuilder b;
    b.header("GIF89a", 8, 4, 4).image(0, 0, 8, 4, filled(8, 4, 1));
    b.graphicControl(2, 0).image(1, 1, 2, 1, {2, 2});
    b.image(5, 2, 1, 2, {3, 3});
    load(b);
    anim.ComposeFrame(1);
    EXPECT_EQ(anim.changedArea(), (Rect{0, 0, 8, 4}));
    anim.ComposeFrame(2);
    EXPECT_EQ(anim.changedArea(), (Rect{1, 1, 3, 2}));
    anim.ComposeFrame(2);
    EXPECT_TRUE(anim.changedArea().empty());
    anim.ComposeFrame(3);
    EXPECT_EQ(anim.changedArea(), (Rect{1, 1, 6, 4})) << "the area given back and the new frame";

    anim.setMirrored(1);
    anim.ComposeFrame(1);
    anim.ComposeFrame(2);
    EXPECT_EQ(anim.changedArea(), (Rect{5, 1, 7, 2}));
}

// A model keeps its canvas from picture to picture; what one picture drew
// never shows in the next, whatever its size, its first frame or its mirror.
struct NextPictureCase
{
    const char *name;
    std::function<void(GifBuilder &)> next;
    int mirror;
    std::string shown;
};

void PrintTo(const NextPictureCase &c, std::ostream *os)
{
    *os << c.name;
}

class GifNextPicture : public ::testing::TestWithParam<NextPictureCase>
{
};

TEST_P(GifNextPicture, ShowsNothingOfTheOneBefore)
{
    GifAnimation anim;
    GifBuilder first;
    first.header("GIF89a", 4, 2, 4).image(0, 0, 4, 2, filled(4, 2, 1)).image(0, 0, 1, 1, {2});
    ASSERT_EQ(anim.LoadGifArray(first.trailer().bytes), 2);
    anim.BuildFrames();
    anim.ComposeFrame(2);

    anim.setMirrored(GetParam().mirror);
    GifBuilder next;
    next.header("GIF89a", 4, 2, 4);
    GetParam().next(next);
    ASSERT_GT(anim.LoadGifArray(next.trailer().bytes), 0);
    anim.BuildFrames();
    EXPECT_EQ(composed(anim, 1), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
        Cases, GifNextPicture,
        ::testing::Values(
                NextPictureCase{"aSmallerStillOfTheSameScreen",
                                [](GifBuilder &b) {
                                    b.image(1, 1, 3, 1, {3, 3, 3});
                                },
                                0, "....\n.333\n"},
                NextPictureCase{
                        "aTransparentStillOfTheSameScreen",
                        [](GifBuilder &b) {
                            b.graphicControl(0, 0, 0).image(0, 0, 4, 2, {3, 0, 0, 3, 0, 0, 0, 0});
                        },
                        0, "3..3\n....\n"},
                NextPictureCase{"aStillOfAnotherScreen",
                                [](GifBuilder &b) {
                                    b.image(1, 0, 2, 1, {3, 3});
                                },
                                0, ".33\n"},
                NextPictureCase{
                        "aLargerScreen",
                        [](GifBuilder &b) {
                            b.image(5, 2, 1, 1, {3}).graphicControl(2, 0).image(0, 0, 1, 1, {1});
                        },
                        0, "......\n......\n.....3\n"},
                NextPictureCase{"aMirroredStillOfTheSameScreen",
                                [](GifBuilder &b) { b.image(3, 1, 1, 1, {3}); }, 1,
                                "....\n3...\n"}),
        [](const auto &param) { return std::string(param.param.name); });

TEST(GifFrameToPicture, HandsOutTheFrameWithItsColoursAndTransparency)
{
    const auto file = GifBuilder()
                              .header("GIF89a", 5, 5, 0)
                              .graphicControl(2, 30, 1)
                              .image(2, 1, 3, 2, {0, 1, 2, 3, 1, 0}, 4)
                              .trailer()
                              .bytes;
    GifAnimation anim;
    ASSERT_EQ(anim.LoadGifArray(file), 1);
    const auto gif = anim.FrameToPicture(1);
    ParsedGif parsed;
    ASSERT_EQ(ParseGif(gif, parsed), 1);
    const GifFrame &f = parsed.Frames[0];
    EXPECT_EQ(f.left, 0);
    EXPECT_EQ(f.width, 3);
    EXPECT_EQ(f.height, 2);
    EXPECT_EQ(f.delay, 0);
    EXPECT_EQ(f.disposal, 0);
    EXPECT_TRUE(f.transparent);
    EXPECT_EQ(f.TransparentIndex, 1);
    EXPECT_EQ(parsed.ColorTables[0].count, 256);
    EXPECT_EQ(parsed.ColorTables[0].colors[3], GifBuilder::colour(3));
    EXPECT_EQ(parsed.ColorTables[0].colors[4], 0u);

    GifAnimation back;
    ASSERT_EQ(back.LoadGifArray(gif), 1);
    EXPECT_EQ(std::vector<std::uint8_t>(back.framePixels(1).begin(), back.framePixels(1).end()),
              (std::vector<std::uint8_t>{0, 1, 2, 3, 1, 0}));
}

struct ScaleCase
{
    int stretch;
    int gifWidth, gifHeight;
    float scaleX, scaleY;
    int width, height;
};

void PrintTo(const ScaleCase &c, std::ostream *os)
{
    *os << "stretch " << c.stretch << ", " << c.gifWidth << " x " << c.gifHeight;
}

class GifScaleModes : public ::testing::TestWithParam<ScaleCase>
{
};

TEST_P(GifScaleModes, InAThreeHundredPixelSquare)
{
    const ScaleCase c = GetParam();
    const GifScale s = ComputeScale(c.stretch, 300, 300, c.gifWidth, c.gifHeight);
    EXPECT_FLOAT_EQ(s.scaleX, c.scaleX);
    EXPECT_FLOAT_EQ(s.scaleY, c.scaleY);
    EXPECT_EQ(s.width, c.width);
    EXPECT_EQ(s.height, c.height);
}

INSTANTIATE_TEST_SUITE_P(Modes, GifScaleModes,
                         ::testing::Values(ScaleCase{0, 100, 50, 1, 1, 100, 50},
                                           ScaleCase{1, 100, 50, 3, 3, 300, 150},
                                           ScaleCase{2, 100, 50, 3, 6, 300, 300},
                                           ScaleCase{3, 100, 50, 1, 1, 100, 50},
                                           ScaleCase{4, 100, 50, 1, 1, 100, 50},
                                           ScaleCase{0, 400, 200, 1, 1, 300, 200},
                                           ScaleCase{1, 400, 200, 0.75f, 0.75f, 300, 150},
                                           ScaleCase{2, 400, 200, 0.75f, 1.5f, 300, 300},
                                           ScaleCase{3, 400, 200, 0.75f, 0.75f, 300, 150},
                                           ScaleCase{4, 400, 200, 1, 1, 400, 200},
                                           ScaleCase{5, 400, 200, 1, 1, 300, 300}));

TEST(GifScale, RoundsHalvesToEven)
{
    // 0.25 x 10 = 2.5 rounds to 2; 0.25 x 14 = 3.5 rounds to 4.
    EXPECT_EQ(ComputeScale(StretchFit, 5, 100, 20, 10).width, 5);
    EXPECT_EQ(ComputeScale(StretchFit, 5, 100, 20, 10).height, 2);
    EXPECT_EQ(ComputeScale(StretchFit, 5, 100, 20, 14).height, 4);
    EXPECT_EQ(ComputeScale(StretchFit, 300, 300, 0, 0).width, 300);
}

} // namespace
} // namespace tessaroc::gif
