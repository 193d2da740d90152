#pragma once

#include "gif/GifAnimation.h"
#include "gif/GifTypes.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>

#include <cstdint>
#include <optional>

// The GIF codec meets Qt here: composed frames out as QImage, and pictures
// drawn with QPainter in as GIF files.
namespace tessaroc::support {

// The picture with frame n on show (GifAnimation::ComposeFrame) over its
// backdrop, as a premultiplied ARGB image of ScreenWidth x ScreenHeight; a
// null image when frame n does not exist or is not built.
QImage ComposedImage(gif::GifAnimation &gif, int n);
// The composed picture without a copy and without its backdrop, which the
// caller lays under it: the image reads the model's own memory, so it is for
// drawing at once and must not outlive the next change of the model. Drawing
// it costs what is drawn, whatever the size of the screen.
QImage ComposedView(gif::GifAnimation &gif, int n);

// One picture of a GIF to write.
struct GifPicture
{
    QImage image;
    // Where the picture lies on the GIF's screen.
    QPoint offset;
    std::int32_t delayMs = 0;
    gif::GifDisposal disposal = gif::DisposeNone;
};

// Writes pictures as a GIF (EncodeGif). The screen is the smallest that holds
// every picture. Each picture gets its own colour table: its exact colours
// when it has at most 255 (256 when none is transparent), else Qt's reduction
// to a colour cube with error diffusion. A pixel with alpha below 128 is
// transparent. Throws std::invalid_argument as EncodeGif does, and for a null
// picture.
QByteArray EncodeGifPictures(const QList<GifPicture> &pictures, std::optional<std::uint16_t> loops);

} // namespace tessaroc::support
