#pragma once

#include "gif/GifTypes.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tessaroc::gif {

// What one pass over a GIF file finds: every image it keeps, the colour
// tables, the spans of the images in the file, the logical screen and the
// loop count.
struct ParsedGif
{
    std::vector<GifFrame> Frames;
    // Column 0 is the global table (count 0 when the file has none); column t
    // is the t-th local table in order of appearance.
    std::vector<ColorTable> ColorTables;
    std::vector<ImageSpan> ImageSpans;
    // The smallest screen anchored at (0, 0) that holds every kept image; the
    // size the header declares is not used.
    std::int32_t ScreenWidth = 0;
    std::int32_t ScreenHeight = 0;
    // Passes to play from the "NETSCAPE2.0" extension; 0 plays for ever, and
    // so does a file without the extension.
    std::int32_t Loops = 0;

    // Empties the record and keeps its room for the next file.
    void clear();
};

// Walks the GIF once without decompressing anything. It is lenient: the
// signature may be in any letter case, blocks it has no use for are skipped,
// and when the data ends early every image whose data ended inside the file is
// kept. The result is the number of images kept, and 0 (with `out` empty) when
// the bytes are no usable GIF: a wrong signature, an image with no colour table
// to use, no complete image, or more than kMaxGifFrames images. `out` keeps
// the room it had, so a parser that reads file after file allocates nothing.
int ParseGif(std::span<const std::uint8_t> gifBytes, ParsedGif &out);

} // namespace tessaroc::gif
