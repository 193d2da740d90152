#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The records the animated GIF control keeps for a loaded GIF: one per image
// (position, size, display time, colour table, transparency, disposal), the
// colour tables themselves and where each image's bytes lie in the file.
namespace tessaroc::gif {

// Bounds on what one GIF may make the control hold. Pictures come from the
// program's own store, but the control reads whatever bytes it is given, so a
// file past any bound is refused whole and the control stays empty.
inline constexpr int kMaxGifFrames = 4096;
// The composed picture (the logical screen), in pixels.
inline constexpr std::int64_t kMaxCanvasPixels = std::int64_t{16} << 20;
// The colour indexes of all frames together, in pixels.
inline constexpr std::int64_t kMaxFramePixels = std::int64_t{64} << 20;

// The bytes that open the blocks of a GIF file, and the labels of the
// extensions the control reads or writes.
inline constexpr std::uint8_t kExtensionIntroducer = 0x21;
inline constexpr std::uint8_t kImageSeparator = 0x2C;
inline constexpr std::uint8_t kTrailer = 0x3B;
inline constexpr std::uint8_t kGraphicControlLabel = 0xF9;
inline constexpr std::uint8_t kApplicationLabel = 0xFF;
// The block size of a graphic control extension.
inline constexpr std::uint8_t kGraphicControlSize = 4;

// What happens to a frame's area before the next frame is drawn.
enum GifDisposal : std::uint8_t {
    DisposeNone = 0, // the frame stays as the background of the next
    DisposeKeep = 1, // the same
    DisposeToBackground = 2, // the area becomes transparent
    DisposeToPrevious = 3, // the area is put back as it was before the frame
};

struct GifFrame
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    // Display time in milliseconds (the file gives hundredths of a second).
    std::int32_t delay = 0;
    // 0 the global colour table, t the t-th local one.
    std::int32_t TableIndex = 0;
    // Offset in the file of the image's graphic control extension (its 0x21
    // byte), or of its image separator when it has none.
    std::size_t ExtStart = 0;
    std::uint8_t TransparentIndex = 0;
    bool transparent = false;
    std::uint8_t disposal = DisposeNone;
};

// One colour table: colours as red * 65536 + green * 256 + blue. Entries from
// `count` on stay 0 (black): an index past the table shows black.
struct ColorTable
{
    std::array<std::uint32_t, 256> colors{};
    std::uint16_t count = 0;
};

// Where one image lies in the file: from its image separator (0x2C) up to and
// including the zero byte that ends its data.
struct ImageSpan
{
    std::size_t start = 0;
    std::size_t length = 0;
};

} // namespace tessaroc::gif
