#include "gif/GifFirstPicture.h"

#include "gif/GifAnimation.h"
#include "gif/GifLzwDecoder.h"
#include "gif/GifParser.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace tessaroc::gif {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

// Decodes frame `frame`'s colour indexes, as the frame building does, into
// `indexes` (with LzwDecoder::kSlack bytes of room after them). The data's
// sub-blocks are packed into `scratch` when they fit in its `room` bytes,
// else into memory of their own.
void decodeIndexes(std::span<const std::uint8_t> file, const GifFrame &frame, const ImageSpan &span,
                   std::uint8_t *scratch, std::size_t room, std::uint8_t *indexes)
{
    const std::size_t pixelCount
            = static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height);
    const std::span<const std::uint8_t> image = file.subspan(span.start, span.length);
    // The descriptor's flags: the local table to step over, and interlacing.
    const std::uint8_t flags = image[9];
    const std::size_t table = (flags & 0x80) ? std::size_t{3} << ((flags & 7) + 1) : 0;
    const bool interlaced = (flags & 0x40) != 0;
    std::size_t decoded = 0;
    std::vector<std::uint8_t> rows;
    if (10 + table < image.size()) {
        const int minCodeSize = image[10 + table];
        const std::span<const std::uint8_t> subBlocks = image.subspan(11 + table);
        const std::size_t dataSize = LzwDecoder::packedSize(subBlocks);
        std::vector<std::uint8_t> ownData;
        std::uint8_t *data = scratch;
        if (dataSize > room) {
            ownData.resize(dataSize);
            data = ownData.data();
        }
        LzwDecoder::packTo(subBlocks, data);
        std::uint8_t *out = indexes;
        if (interlaced) {
            rows.resize(pixelCount + LzwDecoder::kSlack);
            out = rows.data();
        }
        decoded = LzwDecoder().decodePacked({data, dataSize}, minCodeSize, out, pixelCount);
        std::memset(out + decoded, 0, pixelCount - decoded);
    } else {
        std::memset(indexes, 0, pixelCount);
    }
    if (!interlaced || rows.empty())
        return;
    struct Pass
    {
        std::int32_t first;
        std::int32_t step;
    };
    static constexpr Pass kPasses[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    const auto width = static_cast<std::size_t>(frame.width);
    const std::uint8_t *from = rows.data();
    for (const Pass &pass : kPasses) {
        for (std::int32_t y = pass.first; y < frame.height; y += pass.step) {
            std::memcpy(indexes + static_cast<std::size_t>(y) * width, from, width);
            from += width;
        }
    }
}

} // namespace

// The picture's memory holds, in turn, the image's packed data at its start,
// the frame's colour indexes at its end, and the colours. The colours are
// written from the first pixel on, and the indexes lie at the end, so every
// colour is written over bytes whose indexes have been read already.
FirstPicture DecodeFirstPicture(std::span<const std::uint8_t> gifBytes)
{
    ParsedGif gif;
    if (gifBytes.empty() || ParseGif(gifBytes, gif) == 0 || !LoadableGif(gif))
        return {};
    const GifFrame &frame = gif.Frames.front();
    const auto width = static_cast<std::size_t>(gif.ScreenWidth);
    const auto height = static_cast<std::size_t>(gif.ScreenHeight);
    const std::size_t screenBytes = width * height * sizeof(std::uint32_t);
    const std::size_t frameWidth = static_cast<std::size_t>(frame.width);
    const std::size_t area = frameWidth * static_cast<std::size_t>(frame.height);

    FirstPicture picture{gif.ScreenWidth, gif.ScreenHeight, {}};
    picture.pixels.reset(
            static_cast<std::uint32_t *>(std::malloc(screenBytes + LzwDecoder::kSlack)));
    if (!picture.pixels)
        return {};
    auto *memory = reinterpret_cast<std::uint8_t *>(picture.pixels.get());
    const std::uint8_t *indexes = memory + screenBytes - area;
    if (area != 0) {
        try {
            decodeIndexes(gifBytes, frame, gif.ImageSpans.front(), memory, screenBytes - area,
                          memory + screenBytes - area);
        } catch (const std::bad_alloc &) {
            return {};
        }
    }

    const std::uint32_t backdrop = BackdropOf(gif) == GifComposer::Backdrop::Black ? kOpaque : 0u;
    const ColorTable &table = gif.ColorTables[static_cast<std::size_t>(frame.TableIndex)];
    std::array<std::uint32_t, 256> colors;
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = kOpaque | table.colors[i];
    if (frame.transparent)
        colors[frame.TransparentIndex] = backdrop;

    const auto left = static_cast<std::size_t>(frame.left);
    const auto top = static_cast<std::size_t>(frame.top);
    const std::size_t bottom = top + static_cast<std::size_t>(frame.height);
    std::uint32_t *out = picture.pixels.get();
    for (std::size_t y = 0; y < height; ++y, out += width) {
        if (y < top || y >= bottom || frameWidth == 0) {
            std::fill_n(out, width, backdrop);
            continue;
        }
        std::fill_n(out, left, backdrop);
        for (std::size_t x = 0; x < frameWidth; ++x) {
            const std::uint8_t index = *indexes++;
            out[left + x] = colors[index];
        }
        std::fill_n(out + left + frameWidth, width - left - frameWidth, backdrop);
    }
    return picture;
}

} // namespace tessaroc::gif
