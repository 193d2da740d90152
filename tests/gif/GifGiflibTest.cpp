// Our decoder against giflib, on files made by our encoder, by giflib's own
// encoder and by hand. Both must accept or refuse the same files and give the
// same composed frames, except where our reading is lenient on purpose:
//
// - a file cut short keeps the images that ended inside it (giflib refuses
//   the file);
// - damaged image data leaves the frame's remaining pixels at index 0 and the
//   file is kept (giflib refuses the file);
// - the signature may be in any letter case (giflib wants "GIF");
// - an image with no colour table to use refuses the whole file (giflib
//   accepts it, without colours);
// - a file without its trailer, or with an image of width or height 0, is
//   kept (giflib refuses it);
// - from a code that is not yet in the table we leave the rest of the frame
//   at index 0, where giflib makes up pixels and goes on.
//
// giflib has no notion of composition, so its frames are composed here by a
// plain reference that follows the same documented rules: a pass starts from
// a transparent picture the size of the smallest screen holding every image,
// or from a black one for an animation with no transparent frame, no frame
// that gives its area back and a first frame smaller than the screen;
// disposal is the field's low two bits, and "restore previous" on the first
// image counts as none; an index past the colour table shows black. Our
// pictures are taken as they show, over their backdrop.
#include "gif/GifAnimation.h"
#include "gif/GifEncoder.h"
#include "gif/GifFirstPicture.h"
#include "gif/GifParser.h"

#include "GifBuilder.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace tessaroc::gif {
namespace {

using testing::GifBuilder;
using testing::randomPixels;
using testing::rampPixels;

using Picture = std::vector<std::uint32_t>;

struct Decoding
{
    bool accepted = false;
    int width = 0;
    int height = 0;
    std::vector<Picture> frames;
};

Decoding decodeOurs(const std::vector<std::uint8_t> &file)
{
    Decoding d;
    GifAnimation anim;
    const int count = anim.LoadGifArray(file);
    d.accepted = count > 0;
    anim.BuildFrames();
    d.width = anim.ScreenWidth();
    d.height = anim.ScreenHeight();
    for (int n = 1; n <= count; ++n) {
        const auto canvas = anim.ComposeFrame(n);
        Picture &shown = d.frames.emplace_back(canvas.begin(), canvas.end());
        if (anim.backdrop() == GifComposer::Backdrop::Black)
            std::replace(shown.begin(), shown.end(), 0u, 0xFF000000u);
    }
    return d;
}

struct MemoryInput
{
    const std::vector<std::uint8_t> *bytes;
    std::size_t pos = 0;
};

int readMemory(GifFileType *gif, GifByteType *buffer, int length)
{
    auto *in = static_cast<MemoryInput *>(gif->UserData);
    const std::size_t n = std::min(static_cast<std::size_t>(length), in->bytes->size() - in->pos);
    std::memcpy(buffer, in->bytes->data() + in->pos, n);
    in->pos += n;
    return static_cast<int>(n);
}

struct ReferenceFrame
{
    int left, top, width, height;
    const GifByteType *pixels;
    const ColorMapObject *map;
    int transparent;
    int disposal;
};

Decoding composeReference(const std::vector<ReferenceFrame> &frames)
{
    Decoding d;
    d.accepted = true;
    for (const ReferenceFrame &f : frames) {
        d.width = std::max(d.width, f.left + f.width);
        d.height = std::max(d.height, f.top + f.height);
    }
    const bool opaque = std::none_of(frames.begin(), frames.end(), [](const ReferenceFrame &f) {
        return f.transparent >= 0 || f.disposal == DisposeToBackground
                || f.disposal == DisposeToPrevious;
    });
    const bool onBlack = frames.size() > 1 && opaque
            && (frames[0].width != d.width || frames[0].height != d.height);
    Picture canvas(static_cast<std::size_t>(d.width * d.height), onBlack ? 0xFF000000u : 0u);
    for (const ReferenceFrame &f : frames) {
        const Picture before = canvas;
        for (int y = 0; y < f.height; ++y) {
            for (int x = 0; x < f.width; ++x) {
                const int index = f.pixels[y * f.width + x];
                if (index == f.transparent)
                    continue;
                std::uint32_t colour = 0xFF000000u;
                if (f.map && index < f.map->ColorCount) {
                    const GifColorType &c = f.map->Colors[index];
                    colour |= static_cast<std::uint32_t>(c.Red << 16 | c.Green << 8 | c.Blue);
                }
                canvas[static_cast<std::size_t>((f.top + y) * d.width + f.left + x)] = colour;
            }
        }
        d.frames.push_back(canvas);
        if (f.disposal == DisposeToPrevious) {
            canvas = before;
        } else if (f.disposal == DisposeToBackground) {
            for (int y = f.top; y < f.top + f.height; ++y)
                std::fill_n(canvas.begin() + y * d.width + f.left, f.width, 0u);
        }
    }
    return d;
}

Decoding decodeGiflib(const std::vector<std::uint8_t> &file)
{
    MemoryInput input{&file};
    int error = 0;
    GifFileType *gif = DGifOpen(&input, readMemory, &error);
    if (!gif)
        return {};
    Decoding d;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        std::vector<ReferenceFrame> frames;
        for (int i = 0; i < gif->ImageCount; ++i) {
            const SavedImage &image = gif->SavedImages[i];
            GraphicsControlBlock gcb;
            DGifSavedExtensionToGCB(gif, i, &gcb);
            int disposal = gcb.DisposalMode & 3;
            if (i == 0 && disposal == DisposeToPrevious)
                disposal = DisposeNone;
            const GifImageDesc &desc = image.ImageDesc;
            frames.push_back({desc.Left, desc.Top, desc.Width, desc.Height, image.RasterBits,
                              desc.ColorMap ? desc.ColorMap : gif->SColorMap, gcb.TransparentColor,
                              disposal});
        }
        d = composeReference(frames);
    }
    DGifCloseFile(gif, &error);
    return d;
}

// A file written by giflib's own encoder.
struct GiflibImage
{
    int left, top, width, height;
    std::vector<std::uint8_t> pixels; // in file order (interlaced rows in pass order)
    int localColors = 0;
    bool interlaced = false;
    int disposal = 0;
    int delayCs = 0;
    int transparent = NO_TRANSPARENT_COLOR;
};

int writeMemory(GifFileType *gif, const GifByteType *buffer, int length)
{
    auto *out = static_cast<std::vector<std::uint8_t> *>(gif->UserData);
    out->insert(out->end(), buffer, buffer + length);
    return length;
}

ColorMapObject *giflibMap(int colors)
{
    std::vector<GifColorType> entries(static_cast<std::size_t>(colors));
    for (int i = 0; i < colors; ++i) {
        const std::uint32_t c = GifBuilder::colour(i);
        entries[static_cast<std::size_t>(i)]
                = {static_cast<GifByteType>(c >> 16), static_cast<GifByteType>(c >> 8),
                   static_cast<GifByteType>(c)};
    }
    return GifMakeMapObject(colors, entries.data());
}

std::vector<std::uint8_t> encodeWithGiflib(int width, int height, int globalColors,
                                           const std::vector<GiflibImage> &images)
{
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType *gif = EGifOpen(&out, writeMemory, &error);
    if (!gif)
        return {};
    gif->SWidth = width;
    gif->SHeight = height;
    gif->SColorResolution = 8;
    gif->SBackGroundColor = 0;
    gif->SColorMap = globalColors ? giflibMap(globalColors) : nullptr;
    for (std::size_t i = 0; i < images.size(); ++i) {
        const GiflibImage &src = images[i];
        SavedImage *image = GifMakeSavedImage(gif, nullptr);
        image->ImageDesc = {src.left,       src.top,
                            src.width,      src.height,
                            src.interlaced, src.localColors ? giflibMap(src.localColors) : nullptr};
        image->RasterBits = static_cast<GifByteType *>(
                std::malloc(std::max<std::size_t>(src.pixels.size(), 1)));
        std::memcpy(image->RasterBits, src.pixels.data(), src.pixels.size());
        GraphicsControlBlock gcb{src.disposal, false, src.delayCs, src.transparent};
        EGifGCBToSavedExtension(&gcb, gif, static_cast<int>(i));
    }
    // EGifSpew writes and closes the file but leaves the images and the global
    // table it was given (it writes a copy) to the caller.
    ColorMapObject *globalMap = gif->SColorMap;
    GifFileType saved{};
    saved.SavedImages = gif->SavedImages;
    saved.ImageCount = gif->ImageCount;
    const bool written = EGifSpew(gif) == GIF_OK;
    GifFreeSavedImages(&saved);
    GifFreeMapObject(globalMap);
    return written ? out : std::vector<std::uint8_t>{};
}

// Blocky pictures compress the way drawn art does: long runs, few colours.
std::vector<std::uint8_t> blockPixels(int width, int height, int colors, int block, int seed)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint8_t>(
                    ((x / block) * 7 + (y / block) * 3 + seed) % colors);
    return pixels;
}

std::vector<std::uint32_t> palette(int colors)
{
    std::vector<std::uint32_t> p;
    for (int i = 0; i < colors; ++i)
        p.push_back(GifBuilder::colour(i));
    return p;
}

enum class Expect {
    Same, // both accept, with the same frames
    BothRefuse,
    OursLenient, // we keep the file, giflib refuses it
    OursRefuse, // giflib accepts, we refuse (no colour table to use)
    // Both keep the file; from the first code that is not in the table giflib
    // guesses pixels where we leave index 0.
    DamagedData,
};

struct CorpusFile
{
    std::string name;
    std::vector<std::uint8_t> bytes;
    Expect expect;
    // For a cut file: the whole one, whose first frames ours must match.
    std::vector<std::uint8_t> whole;
};

void PrintTo(const CorpusFile &file, std::ostream *os)
{
    *os << file.name;
}

std::vector<std::uint8_t> cut(std::vector<std::uint8_t> bytes, std::size_t length)
{
    bytes.resize(length);
    return bytes;
}

std::vector<CorpusFile> corpus()
{
    std::vector<CorpusFile> files;
    const auto add = [&](std::string name, std::vector<std::uint8_t> bytes,
                         Expect expect = Expect::Same, std::vector<std::uint8_t> whole = {}) {
        files.push_back({std::move(name), std::move(bytes), expect, std::move(whole)});
    };

    // Our encoder.
    {
        GifFileData still{40, 30, palette(256), std::nullopt, {}};
        still.images.push_back({0, 0, 40, 30, randomPixels(1200, 256, 1), {}, 0, 0, std::nullopt});
        add("oursStill", EncodeGif(still));

        GifFileData big{200, 150, palette(256), std::nullopt, {}};
        big.images.push_back({0, 0, 200, 150, randomPixels(30000, 256, 2), {}, 0, 0, std::nullopt});
        add("oursTableRefills", EncodeGif(big));

        GifFileData anim{64, 48, palette(16), std::uint16_t{3}, {}};
        anim.images.push_back(
                {0, 0, 64, 48, blockPixels(64, 48, 16, 8, 0), {}, 100, 1, std::nullopt});
        anim.images.push_back(
                {8, 4, 30, 20, blockPixels(30, 20, 2, 3, 1), palette(2), 50, 3, std::uint8_t{0}});
        anim.images.push_back({20, 10, 40, 30, blockPixels(40, 30, 200, 2, 2), palette(200), 30, 2,
                               std::uint8_t{7}});
        anim.images.push_back(
                {0, 0, 64, 48, blockPixels(64, 48, 16, 5, 3), {}, 0, 0, std::uint8_t{4}});
        anim.images.push_back({63, 47, 1, 1, {5}, {}, 10, 3, std::nullopt});
        anim.images.push_back(
                {3, 5, 7, 9, blockPixels(7, 9, 4, 1, 4), palette(4), 10, 1, std::uint8_t{3}});
        add("oursAnimation", EncodeGif(anim));

        GifFileData tiny{5, 3, palette(2), std::nullopt, {}};
        tiny.images.push_back({0, 0, 5, 3, randomPixels(15, 2, 3), {}, 0, 0, std::nullopt});
        tiny.images.push_back({1, 1, 3, 2, randomPixels(6, 3, 4), palette(3), 0, 0, std::nullopt});
        add("oursTinyTables", EncodeGif(tiny));
    }

    // giflib's encoder.
    {
        add("giflibStill",
            encodeWithGiflib(64, 48, 256, {{0, 0, 64, 48, randomPixels(64 * 48, 256, 5)}}));
        std::vector<GiflibImage> images;
        images.push_back({0, 0, 32, 32, blockPixels(32, 32, 8, 4, 0), 0, false, 1, 10});
        images.push_back({4, 4, 16, 16, randomPixels(256, 4, 6), 4, false, 2, 20, 1});
        images.push_back({10, 3, 20, 25, randomPixels(500, 32, 7), 32, true, 3, 5, 31});
        // Once one image has a local table, the later ones have one too:
        // giflib's writer loses its copy of a local table when the next image
        // has none.
        images.push_back({0, 0, 32, 32, blockPixels(32, 32, 8, 2, 1), 8, true, 0, 5, 2});
        images.push_back({31, 0, 1, 32, randomPixels(32, 8, 8), 8, false, 2, 0});
        add("giflibAnimation", encodeWithGiflib(32, 32, 8, images));
        add("giflibOneBit", encodeWithGiflib(9, 7, 2, {{0, 0, 9, 7, randomPixels(63, 2, 9)}}));
        // Enough codes that giflib's writer clears its full table several
        // times, on its own schedule rather than ours.
        add("giflibTableRefills",
            encodeWithGiflib(200, 150, 256, {{0, 0, 200, 150, randomPixels(30000, 256, 11)}}));
    }

    // By hand.
    {
        const int order[] = {0, 8, 4, 2, 6, 10, 1, 3, 5, 7, 9};
        std::vector<std::uint8_t> rows;
        for (int row : order)
            for (int x = 0; x < 6; ++x)
                rows.push_back(static_cast<std::uint8_t>((row * 6 + x) % 16));
        add("interlaced",
            GifBuilder()
                    .header("GIF89a", 6, 11, 16)
                    .image(0, 0, 6, 11, rows, 0, true, 4)
                    .trailer()
                    .bytes);

        add("zeroSizeFrames",
            GifBuilder()
                    .header("GIF89a", 4, 4, 4)
                    .descriptor(2, 2, 0, 0)
                    .raw({2, 2, 0x44, 0x01, 0})
                    .image(0, 0, 4, 4, rampPixels(4, 4, 4), 0, false, 2)
                    .descriptor(1, 1, 0, 3)
                    .raw({2, 2, 0x44, 0x01, 0})
                    .trailer()
                    .bytes,
            Expect::OursLenient);

        add("oversizeFrame",
            GifBuilder()
                    .header("GIF89a", 4, 4, 4)
                    .image(0, 0, 4, 4, rampPixels(4, 4, 4), 0, false, 2)
                    .graphicControl(1, 0, 1)
                    .image(2, 3, 6, 5, rampPixels(6, 5, 4), 0, false, 2)
                    .trailer()
                    .bytes);

        add("opaqueFramesOnBlack",
            GifBuilder()
                    .header("GIF89a", 5, 4, 4)
                    .image(1, 1, 2, 2, rampPixels(2, 2, 4), 0, false, 2)
                    .image(4, 3, 1, 1, {3}, 0, false, 2)
                    .trailer()
                    .bytes);

        add("backgroundOutsideTable",
            GifBuilder()
                    .header("GIF89a", 3, 3, 4, 200)
                    .image(1, 1, 2, 2, rampPixels(2, 2, 4), 0, false, 2)
                    .trailer()
                    .bytes);

        add("indexPastTable",
            GifBuilder()
                    .header("GIF89a", 4, 1, 4)
                    .image(0, 0, 4, 1, {0, 3, 9, 15}, 0, false, 4)
                    .trailer()
                    .bytes);

        add("minimumCodeSizeOne",
            GifBuilder()
                    .header("GIF89a", 8, 8, 2)
                    .image(0, 0, 8, 8, randomPixels(64, 2, 10), 0, false, 1)
                    .trailer()
                    .bytes);

        add("noTrailer",
            GifBuilder().header("GIF89a", 2, 2, 4).image(0, 0, 2, 2, rampPixels(2, 2, 4)).bytes,
            Expect::OursLenient);

        add("commentsAndTextBlocks",
            GifBuilder()
                    .header("GIF89a", 3, 2, 4)
                    .comment("made by hand")
                    .raw({0x21, 0x01, 12, 0, 0, 0, 0, 3, 0, 2, 0, 1, 1, 0, 1, 2, 'h', 'i', 0})
                    .image(0, 0, 3, 2, rampPixels(3, 2, 4))
                    .trailer()
                    .bytes);

        GifBuilder three;
        three.header("GIF89a", 10, 10, 16);
        for (int i = 0; i < 3; ++i)
            three.graphicControl(i, 5, static_cast<std::uint8_t>(i))
                    .image(i, i, 10 - i, 10 - i, rampPixels(10 - i, 10 - i, 16, i));
        three.trailer();
        const auto whole = three.bytes;
        ParsedGif parsed;
        ParseGif(whole, parsed);
        add("wholeThreeFrames", whole);
        add("cutInThirdImage", cut(whole, parsed.ImageSpans[2].start + 20), Expect::OursLenient,
            whole);
        add("cutInSecondImageDescriptor", cut(whole, parsed.ImageSpans[1].start + 5),
            Expect::OursLenient, whole);
        add("cutBeforeTrailer", cut(whole, whole.size() - 1), Expect::OursLenient, whole);
        add("cutInGlobalTable", cut(whole, 20), Expect::BothRefuse);
        add("cutInHeader", cut(whole, 9), Expect::BothRefuse);

        auto damaged = GifBuilder()
                               .header("GIF89a", 4, 1, 4)
                               .image(0, 0, 4, 1, {1, 2, 3, 1}, 0, false, 2)
                               .trailer()
                               .bytes;
        damaged[damaged.size() - 4] = 0xFF; // codes past the table
        add("badCodes", damaged, Expect::DamagedData);

        add("endCodeEarly",
            GifBuilder()
                    .header("GIF89a", 4, 1, 4)
                    .descriptor(0, 0, 4, 1)
                    .raw({2, 1, 0x2C, 0})
                    .trailer()
                    .bytes,
            Expect::OursLenient);

        add("lowerCaseSignature",
            GifBuilder().header("gif89a", 2, 1, 2).image(0, 0, 2, 1, {1, 0}).trailer().bytes,
            Expect::OursLenient);

        add("noColourTable",
            GifBuilder()
                    .header("GIF89a", 2, 1, 0)
                    .image(0, 0, 2, 1, {1, 0}, 0, false, 2)
                    .trailer()
                    .bytes,
            Expect::OursRefuse);

        add("notAGif", {'G', 'I', 'F', '8', '8', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B},
            Expect::BothRefuse);
    }
    return files;
}

std::string describeDifference(const Picture &ours, const Picture &theirs, int width)
{
    if (ours.size() != theirs.size())
        return "sizes " + std::to_string(ours.size()) + " and " + std::to_string(theirs.size());
    for (std::size_t i = 0; i < ours.size(); ++i) {
        if (ours[i] != theirs[i]) {
            char text[96];
            std::snprintf(text, sizeof text, "first at (%zu, %zu): ours %08X, giflib %08X",
                          i % std::size_t(width), i / std::size_t(width), ours[i], theirs[i]);
            return text;
        }
    }
    return {};
}

void expectSameFrames(const Decoding &ours, const Decoding &theirs, std::size_t frames,
                      const std::string &name)
{
    ASSERT_EQ(ours.width, theirs.width) << name;
    ASSERT_EQ(ours.height, theirs.height) << name;
    for (std::size_t i = 0; i < frames; ++i)
        EXPECT_EQ(describeDifference(ours.frames[i], theirs.frames[i], ours.width), "")
                << name << " frame " << i + 1;
}

class GifAgainstGiflib : public ::testing::TestWithParam<CorpusFile>
{
};

TEST_P(GifAgainstGiflib, AcceptsAndComposesTheSame)
{
    const CorpusFile &file = GetParam();
    ASSERT_FALSE(file.bytes.empty()) << file.name;
    const Decoding ours = decodeOurs(file.bytes);
    const Decoding theirs = decodeGiflib(file.bytes);
    switch (file.expect) {
    case Expect::Same:
        ASSERT_TRUE(ours.accepted) << file.name;
        ASSERT_TRUE(theirs.accepted) << file.name;
        ASSERT_EQ(ours.frames.size(), theirs.frames.size()) << file.name;
        expectSameFrames(ours, theirs, ours.frames.size(), file.name);
        break;
    case Expect::BothRefuse:
        EXPECT_FALSE(ours.accepted) << file.name;
        EXPECT_FALSE(theirs.accepted) << file.name;
        break;
    case Expect::OursLenient:
        EXPECT_FALSE(theirs.accepted) << file.name;
        ASSERT_TRUE(ours.accepted) << file.name;
        if (!file.whole.empty()) {
            // The images kept are exactly the complete ones, as the whole
            // file shows them.
            const Decoding reference = decodeGiflib(file.whole);
            ASSERT_LE(ours.frames.size(), reference.frames.size()) << file.name;
            expectSameFrames(ours, reference, ours.frames.size(), file.name);
        }
        break;
    case Expect::OursRefuse:
        EXPECT_TRUE(theirs.accepted) << file.name;
        EXPECT_FALSE(ours.accepted) << file.name;
        break;
    case Expect::DamagedData:
        ASSERT_TRUE(theirs.accepted) << file.name;
        ASSERT_TRUE(ours.accepted) << file.name;
        EXPECT_EQ(ours.frames.size(), theirs.frames.size()) << file.name;
        break;
    }
}

// The still a picture store makes of a file without a model is the model's
// first frame over its backdrop, and it refuses what the model refuses.
TEST_P(GifAgainstGiflib, FirstPictureIsTheFirstFrameComposed)
{
    const CorpusFile &file = GetParam();
    const Decoding ours = decodeOurs(file.bytes);
    const FirstPicture picture = DecodeFirstPicture(file.bytes);
    ASSERT_EQ(picture.pixels != nullptr, ours.accepted) << file.name;
    if (!ours.accepted)
        return;
    ASSERT_EQ(picture.width, ours.width) << file.name;
    ASSERT_EQ(picture.height, ours.height) << file.name;
    const Picture first(picture.pixels.get(),
                        picture.pixels.get() + static_cast<std::size_t>(ours.width * ours.height));
    EXPECT_EQ(describeDifference(first, ours.frames.front(), ours.width), "") << file.name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, GifAgainstGiflib, ::testing::ValuesIn(corpus()),
                         [](const auto &param) { return param.param.name; });

TEST(GifAgainstGiflib, CutFilesKeepTheCompleteImages)
{
    const auto all = corpus();
    const auto it = std::find_if(all.begin(), all.end(),
                                 [](const CorpusFile &f) { return f.name == "cutInThirdImage"; });
    ASSERT_NE(it, all.end());
    EXPECT_EQ(decodeOurs(it->bytes).frames.size(), 2u);
}

} // namespace
} // namespace tessaroc::gif
