#pragma once

#include "gif/GifLzwDecoder.h"
#include "gif/GifTypes.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

// Every image of a loaded GIF is cut out of the file as a GIF stream of its
// own, whose colour table maps index i to the colour red 0, green 0, blue i.
// Decoding that stream yields the image's raw colour indexes; the real colours
// are applied only when a frame is drawn, which is what lets one set of
// indexes serve every colour table and transparency stay an index.
namespace tessaroc::gif {

// 256 entries of red, green, blue with entry i = 0, 0, i.
extern const std::array<std::uint8_t, 768> kIdentityPalette;

// Writes the one-image stream of `frame` into `out` (replacing what it held):
// the signature "GIF89a" whatever the file used; the file's screen descriptor
// with the image's size as the screen and a global table of 256 entries
// announced; kIdentityPalette; the image's graphic control extension, if it has
// one, with the transparent flag cleared so the decoder keeps that index like
// any other; the image's span with left and top set to 0 and any local table
// overwritten by the start of kIdentityPalette; the trailer.
// `frame` and `span` come from ParseGif over the same `gifBytes`.
void BuildSingleImageGif(std::span<const std::uint8_t> gifBytes, const GifFrame &frame,
                         const ImageSpan &span, std::vector<std::uint8_t> &out);

// Decodes one-image GIF streams into colour indexes. It reads what
// BuildSingleImageGif writes: a GIF of one image that fills its screen.
class GifPictureLoader
{
public:
    // Decodes the image of `stream`, which must be width x height pixels, into
    // `out`: colour indexes row by row from the top, interlacing undone. `out`
    // has room for width * height + LzwDecoder::kSlack bytes. Pixels the data
    // does not reach (damaged or short data) are 0. Returns false, with every
    // pixel 0, when the stream is not such a picture at all. The image data in
    // `stream` is reworked in place: the stream is scratch afterwards.
    bool load(std::span<std::uint8_t> stream, std::int32_t width, std::int32_t height,
              std::uint8_t *out);

private:
    LzwDecoder lzw_;
    std::vector<std::uint8_t> interlaced_;
};

} // namespace tessaroc::gif
