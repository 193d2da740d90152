#include "support/GifImages.h"

#include "gif/GifEncoder.h"

#include <QHash>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace tessaroc::support {

namespace {

constexpr int kOpaqueAlpha = 128;

bool isTransparent(QRgb pixel)
{
    return qAlpha(pixel) < kOpaqueAlpha;
}

// The image's opaque colours in order of appearance, or nothing when there
// are more than `limit`.
std::optional<QList<QRgb>> exactColours(const QImage &argb, qsizetype limit)
{
    QHash<QRgb, qsizetype> seen;
    QList<QRgb> colours;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (isTransparent(row[x]))
                continue;
            const QRgb colour = row[x] & 0xFFFFFF;
            if (!seen.contains(colour)) {
                if (colours.size() == limit)
                    return std::nullopt;
                seen.insert(colour, colours.size());
                colours.append(colour);
            }
        }
    }
    return colours;
}

bool hasTransparency(const QImage &argb)
{
    for (int y = 0; y < argb.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        if (std::any_of(row, row + argb.width(), isTransparent))
            return true;
    }
    return false;
}

// Fills the image's pixels and table: colour indexes, and the transparent
// index after the colours when the picture has transparent pixels.
void indexPicture(const QImage &argb, gif::GifImageData &image)
{
    const bool transparent = hasTransparency(argb);
    const qsizetype limit = transparent ? 255 : 256;
    QList<QRgb> colours;
    QImage indexed;
    if (auto exact = exactColours(argb, limit)) {
        colours = *exact;
    } else {
        indexed = argb.convertToFormat(QImage::Format_RGB32)
                          .convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither);
        // Keep only the entries the picture uses, in order of first use.
        QHash<int, qsizetype> used;
        for (int y = 0; y < indexed.height(); ++y) {
            const uchar *row = indexed.constScanLine(y);
            const auto *source = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
            for (int x = 0; x < indexed.width(); ++x) {
                if (!isTransparent(source[x]) && !used.contains(row[x])) {
                    used.insert(row[x], colours.size());
                    colours.append(indexed.color(row[x]) & 0xFFFFFF);
                }
            }
        }
        if (colours.size() > limit)
            throw std::invalid_argument("GIF picture: too many colours left after reduction");
        for (int y = 0; y < indexed.height(); ++y) {
            uchar *row = indexed.scanLine(y);
            for (int x = 0; x < indexed.width(); ++x)
                row[x] = static_cast<uchar>(used.value(row[x]));
        }
    }

    QHash<QRgb, int> indexOf;
    for (qsizetype i = 0; i < colours.size(); ++i) {
        image.palette.push_back(colours[i]);
        indexOf.insert(colours[i], static_cast<int>(i));
    }
    if (transparent) {
        image.transparentIndex = static_cast<std::uint8_t>(colours.size());
        image.palette.push_back(0);
    }
    image.pixels.resize(static_cast<std::size_t>(argb.width())
                        * static_cast<std::size_t>(argb.height()));
    auto *out = image.pixels.data();
    for (int y = 0; y < argb.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        const uchar *reduced = indexed.isNull() ? nullptr : indexed.constScanLine(y);
        for (int x = 0; x < argb.width(); ++x, ++out) {
            if (isTransparent(row[x]))
                *out = *image.transparentIndex;
            else if (reduced)
                *out = reduced[x];
            else
                *out = static_cast<std::uint8_t>(indexOf.value(row[x] & 0xFFFFFF));
        }
    }
}

} // namespace

QImage ComposedView(gif::GifAnimation &gif, int n)
{
    const auto canvas = gif.ComposeFrame(n);
    if (canvas.empty())
        return {};
    // The const constructor keeps the image on the model's memory: nothing
    // writes through it, so it is never copied.
    return QImage(reinterpret_cast<const uchar *>(canvas.data()), gif.ScreenWidth(),
                  gif.ScreenHeight(),
                  static_cast<qsizetype>(gif.ScreenWidth()) * qsizetype{sizeof(std::uint32_t)},
                  QImage::Format_ARGB32_Premultiplied);
}

QImage ComposedImage(gif::GifAnimation &gif, int n)
{
    QImage image = ComposedView(gif, n).copy();
    if (gif.backdrop() == gif::GifComposer::Backdrop::Black && !image.isNull()) {
        // Such a picture holds only opaque and untouched pixels: the untouched
        // ones become black.
        for (int y = 0; y < image.height(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] |= 0xFF000000u;
        }
    }
    return image;
}

QByteArray EncodeGifPictures(const QList<GifPicture> &pictures, std::optional<std::uint16_t> loops)
{
    gif::GifFileData gif;
    gif.loops = loops;
    for (const GifPicture &picture : pictures) {
        if (picture.image.isNull())
            throw std::invalid_argument("GIF picture " + std::to_string(gif.images.size())
                                        + " is null");
        const QImage argb = picture.image.convertToFormat(QImage::Format_ARGB32);
        gif::GifImageData image;
        image.left = picture.offset.x();
        image.top = picture.offset.y();
        image.width = argb.width();
        image.height = argb.height();
        image.delayMs = picture.delayMs;
        image.disposal = picture.disposal;
        indexPicture(argb, image);
        gif.screenWidth = std::max(gif.screenWidth, image.left + image.width);
        gif.screenHeight = std::max(gif.screenHeight, image.top + image.height);
        gif.images.push_back(std::move(image));
    }
    const std::vector<std::uint8_t> bytes = gif::EncodeGif(gif);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

} // namespace tessaroc::support
