#include "gif/GifSingleImage.h"

#include <algorithm>
#include <cstring>

namespace tessaroc::gif {

namespace {

constexpr std::size_t kHeaderSize = 13;
constexpr std::size_t kTableSize = 768;
constexpr std::size_t kExtensionSize = 8;

std::array<std::uint8_t, 768> makeIdentityPalette()
{
    std::array<std::uint8_t, 768> palette{};
    for (std::size_t i = 0; i < 256; ++i)
        palette[3 * i + 2] = static_cast<std::uint8_t>(i);
    return palette;
}

std::uint16_t readLe16(std::span<std::uint8_t> bytes, std::size_t pos)
{
    return static_cast<std::uint16_t>(bytes[pos] | (bytes[pos + 1] << 8));
}

std::size_t tableBytes(std::uint8_t packed)
{
    return (packed & 0x80) ? std::size_t{3} << ((packed & 7) + 1) : 0;
}

void deinterlace(const std::uint8_t *rows, std::int32_t width, std::int32_t height,
                 std::uint8_t *out)
{
    struct Pass
    {
        std::int32_t first;
        std::int32_t step;
    };
    static constexpr Pass kPasses[] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    const auto rowBytes = static_cast<std::size_t>(width);
    for (const Pass &pass : kPasses) {
        for (std::int32_t y = pass.first; y < height; y += pass.step) {
            std::memcpy(out + static_cast<std::size_t>(y) * rowBytes, rows, rowBytes);
            rows += rowBytes;
        }
    }
}

} // namespace

const std::array<std::uint8_t, 768> kIdentityPalette = makeIdentityPalette();

void BuildSingleImageGif(std::span<const std::uint8_t> gifBytes, const GifFrame &frame,
                         const ImageSpan &span, std::vector<std::uint8_t> &out)
{
    const bool hasExtension = frame.ExtStart != span.start;
    out.resize(kHeaderSize + kTableSize + (hasExtension ? kExtensionSize : 0) + span.length + 1);
    std::uint8_t *w = out.data();

    std::memcpy(w, gifBytes.data(), kHeaderSize);
    // The loader reads the upper-case signature only; the file may have used
    // any case, or the older version.
    std::memcpy(w, "GIF89a", 6);
    // The screen is the image: its width and height from its descriptor.
    std::memcpy(w + 6, gifBytes.data() + span.start + 5, 4);
    w[10] |= 0x87;
    std::memcpy(w + kHeaderSize, kIdentityPalette.data(), kTableSize);
    w += kHeaderSize + kTableSize;

    if (hasExtension) {
        // Written as a well-formed 4-byte block whatever size byte the file
        // gave, so the loader finds the image after it.
        const std::uint8_t *ext = gifBytes.data() + frame.ExtStart;
        const std::uint8_t block[kExtensionSize] = {kExtensionIntroducer,
                                                    kGraphicControlLabel,
                                                    kGraphicControlSize,
                                                    static_cast<std::uint8_t>(ext[3] & ~1u),
                                                    ext[4],
                                                    ext[5],
                                                    ext[6],
                                                    0x00};
        std::memcpy(w, block, kExtensionSize);
        w += kExtensionSize;
    }

    std::memcpy(w, gifBytes.data() + span.start, span.length);
    std::memset(w + 1, 0, 4); // left and top
    if (frame.TableIndex != 0) {
        const std::size_t localBytes = std::size_t{3} << ((w[9] & 7) + 1);
        std::memcpy(w + 10, kIdentityPalette.data(), localBytes);
    }
    w[span.length] = kTrailer;
}

bool GifPictureLoader::load(std::span<std::uint8_t> stream, std::int32_t width, std::int32_t height,
                            std::uint8_t *out)
{
    const std::size_t pixelCount
            = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const auto fail = [&] {
        std::memset(out, 0, pixelCount);
        return false;
    };

    if (stream.size() < kHeaderSize
        || (std::memcmp(stream.data(), "GIF89a", 6) != 0
            && std::memcmp(stream.data(), "GIF87a", 6) != 0))
        return fail();
    if (readLe16(stream, 6) != width || readLe16(stream, 8) != height)
        return fail();
    std::size_t pos = kHeaderSize + tableBytes(stream[10]);

    for (;;) {
        if (pos >= stream.size())
            return fail();
        const std::uint8_t introducer = stream[pos++];
        if (introducer == kImageSeparator)
            break;
        if (introducer != kExtensionIntroducer || pos >= stream.size())
            return fail();
        ++pos; // the label
        while (pos < stream.size() && stream[pos] != 0)
            pos += std::size_t{stream[pos]} + 1;
        ++pos;
    }

    if (pos > stream.size() || stream.size() - pos < 10)
        return fail();
    const std::uint8_t packed = stream[pos + 8];
    if (readLe16(stream, pos) != 0 || readLe16(stream, pos + 2) != 0
        || readLe16(stream, pos + 4) != width || readLe16(stream, pos + 6) != height)
        return fail();
    pos += 9 + tableBytes(packed);
    if (pos >= stream.size())
        return fail();
    const int minCodeSize = stream[pos++];
    const auto data = stream.subspan(pos);

    if (!(packed & 0x40)) {
        const std::size_t decoded = lzw_.decode(data, minCodeSize, out, pixelCount);
        std::memset(out + decoded, 0, pixelCount - decoded);
        return true;
    }
    interlaced_.resize(pixelCount + LzwDecoder::kSlack);
    const std::size_t decoded = lzw_.decode(data, minCodeSize, interlaced_.data(), pixelCount);
    std::memset(interlaced_.data() + decoded, 0, pixelCount - decoded);
    deinterlace(interlaced_.data(), width, height, out);
    return true;
}

} // namespace tessaroc::gif
