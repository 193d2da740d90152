#include "support/GifImages.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <gtest/gtest.h>

#include <stdexcept>

namespace tessaroc::support {
namespace {

QImage drawn(int width, int height, QColor background, QColor mark, int shift)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.fillRect(QRect(shift, 2, 6, 5), mark);
    painter.fillRect(QRect(0, height - 3, width, 3), Qt::darkGreen);
    return image;
}

QImage asArgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

TEST(GifImages, PicturesWithFewColoursReadBackExactly)
{
    QList<GifPicture> pictures;
    pictures.append(
            {drawn(20, 12, Qt::transparent, Qt::red, 1), {}, 100, gif::DisposeToBackground});
    pictures.append(
            {drawn(20, 12, Qt::transparent, Qt::blue, 9), {}, 100, gif::DisposeToBackground});
    pictures.append(
            {drawn(8, 6, QColor(200, 180, 20), Qt::white, 0), {12, 6}, 250, gif::DisposeNone});
    const QByteArray gif = EncodeGifPictures(pictures, std::uint16_t{2});

    gif::GifAnimation anim;
    ASSERT_EQ(anim.LoadGifArray(std::span(reinterpret_cast<const std::uint8_t *>(gif.constData()),
                                          static_cast<std::size_t>(gif.size()))),
              3);
    anim.BuildFrames();
    EXPECT_EQ(anim.Loops(), 2);
    EXPECT_EQ(anim.frame(3).delay, 250);
    EXPECT_EQ(ComposedImage(anim, 1).size(), QSize(20, 12));
    EXPECT_EQ(asArgb(ComposedImage(anim, 1)), pictures[0].image);
    EXPECT_EQ(asArgb(ComposedImage(anim, 2)), pictures[1].image);
    // The second picture's area was cleared after it was shown.
    QImage third(20, 12, QImage::Format_ARGB32);
    third.fill(Qt::transparent);
    QPainter(&third).drawImage(12, 6, pictures[2].image);
    EXPECT_EQ(asArgb(ComposedImage(anim, 3)), third);
    EXPECT_TRUE(ComposedImage(anim, 4).isNull());
}

TEST(GifImages, AnOpaqueAnimationShowsBlackWhereNoFrameHasDrawn)
{
    QList<GifPicture> pictures;
    pictures.append({drawn(8, 6, Qt::yellow, Qt::red, 1), {}, 100, gif::DisposeNone});
    pictures.append({drawn(8, 6, Qt::cyan, Qt::blue, 1), {12, 6}, 100, gif::DisposeNone});
    const QByteArray gif = EncodeGifPictures(pictures, std::nullopt);

    gif::GifAnimation anim;
    ASSERT_EQ(anim.LoadGifArray(std::span(reinterpret_cast<const std::uint8_t *>(gif.constData()),
                                          static_cast<std::size_t>(gif.size()))),
              2);
    QImage first(20, 12, QImage::Format_ARGB32);
    first.fill(Qt::black);
    QPainter(&first).drawImage(0, 0, pictures[0].image);
    EXPECT_EQ(asArgb(ComposedImage(anim, 1)), first);
}

TEST(GifImages, QtsOwnReaderSeesTheSamePicture)
{
    if (!QImageReader::supportedImageFormats().contains("gif"))
        GTEST_SKIP() << "no GIF reader in this Qt";
    const QImage source = drawn(16, 10, Qt::transparent, QColor(10, 120, 240), 4);
    const QByteArray gif = EncodeGifPictures({{source, {}, 0, gif::DisposeNone}}, std::nullopt);
    const QImage read = QImage::fromData(gif, "GIF");
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(asArgb(read), source);
}

TEST(GifImages, ManyColoursAreReducedCloseToTheOriginal)
{
    QImage gradient(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            gradient.setPixel(x, y, qRgb(x * 4, y * 4, (x + y) * 2));
    const QByteArray gif = EncodeGifPictures({{gradient, {}, 0, gif::DisposeNone}}, std::nullopt);
    gif::GifAnimation anim;
    ASSERT_EQ(anim.LoadGifArray(std::span(reinterpret_cast<const std::uint8_t *>(gif.constData()),
                                          static_cast<std::size_t>(gif.size()))),
              1);
    const QImage back = asArgb(ComposedImage(anim, 1));
    long long error = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const QRgb a = gradient.pixel(x, y);
            const QRgb b = back.pixel(x, y);
            ASSERT_EQ(qAlpha(b), 255);
            error += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
                    + std::abs(qBlue(a) - qBlue(b));
        }
    }
    EXPECT_LT(error / (64 * 64 * 3), 40);
}

TEST(GifImages, RefusesANullPicture)
{
    EXPECT_THROW(EncodeGifPictures({{QImage(), {}, 0, gif::DisposeNone}}, std::nullopt),
                 std::invalid_argument);
    EXPECT_THROW(
            EncodeGifPictures({{drawn(4, 4, Qt::red, Qt::red, 0), {-1, 0}, 0, gif::DisposeNone}},
                              std::nullopt),
            std::invalid_argument);
}

} // namespace
} // namespace tessaroc::support
