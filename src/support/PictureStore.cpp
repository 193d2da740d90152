#include "support/PictureStore.h"

#include "gif/GifFirstPicture.h"
#include "support/JpegImages.h"

#include <QDir>
#include <QFile>
#include <QPixmapCache>

#include <algorithm>
#include <span>

// The store is compiled into a static library; naming its resource here
// keeps the linker from dropping it.
static void initPictureResources()
{
    Q_INIT_RESOURCE(pictures);
}

namespace tessaroc::support {

namespace {

const QString kPictures = QStringLiteral(":/pictures/");

void ensureResources()
{
    static const bool initialised = [] {
        initPictureResources();
        return true;
    }();
    (void)initialised;
}

bool isJpeg(const QByteArray &bytes)
{
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF
            && static_cast<unsigned char>(bytes[1]) == 0xD8
            && static_cast<unsigned char>(bytes[2]) == 0xFF;
}

} // namespace

QByteArray PictureStore::resourceBytes(int id, QStringView type)
{
    ensureResources();
    if (type.compare(u"GIF", Qt::CaseInsensitive) != 0 || id <= 0)
        return {};
    QFile file(kPictures + QString::number(id));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

std::vector<int> PictureStore::resourceIds()
{
    ensureResources();
    std::vector<int> ids;
    for (const QString &name : QDir(kPictures).entryList(QDir::Files)) {
        bool ok = false;
        const int id = name.toInt(&ok);
        if (ok)
            ids.push_back(id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

QImage PictureStore::decode(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    if (isJpeg(bytes))
        return DecodeJpeg(std::span(reinterpret_cast<const unsigned char *>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())));
    // The picture is decoded straight into the memory of the image that is
    // handed out, which frees it when the last copy goes.
    gif::FirstPicture picture
            = gif::DecodeFirstPicture({reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                       static_cast<std::size_t>(bytes.size())});
    if (!picture.pixels)
        return {};
    std::uint32_t *pixels = picture.pixels.release();
    return QImage(
            reinterpret_cast<uchar *>(pixels), picture.width, picture.height,
            static_cast<qsizetype>(picture.width) * qsizetype{sizeof(std::uint32_t)},
            QImage::Format_ARGB32_Premultiplied, [](void *memory) { std::free(memory); }, pixels);
}

QPixmap PictureStore::designPicture(QStringView name)
{
    // The resources never change: each picture is decoded once and shared
    // by every control that shows it (the table loads the card back alone
    // over a hundred times while it lays itself out).
    const QString key = QStringLiteral("tessaroc-design-") + name.toString();
    QPixmap picture;
    if (QPixmapCache::find(key, &picture))
        return picture;
    ensureResources();
    QFile file(QStringLiteral(":/design/") + name.toString());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    picture = QPixmap::fromImage(decode(file.readAll()));
    if (!picture.isNull())
        QPixmapCache::insert(key, picture);
    return picture;
}

QSize PictureStore::designPictureSize(QStringView name)
{
    ensureResources();
    QFile file(QStringLiteral(":/design/") + name.toString());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // A frame header lies within the first few hundred bytes of our JPEGs.
    const QByteArray head = file.read(4096);
    if (isJpeg(head)) {
        const QSize size
                = JpegSize(std::span(reinterpret_cast<const unsigned char *>(head.constData()),
                                     static_cast<std::size_t>(head.size())));
        if (size.isValid())
            return size;
    }
    return designPicture(name).size();
}

QCursor PictureStore::handCursor()
{
    return QCursor(designPicture(u"hand_cursor"), 12, 4);
}

std::int16_t LoadGifResource(std::int16_t id, QStringView resourceType, PictureTarget *target)
{
    if (!target)
        return 0;
    if (resourceType.compare(u"GIF", Qt::CaseInsensitive) != 0 || id <= 0)
        return 0;
    const QString key = QStringLiteral("tessaroc-gif-") + QString::number(id);
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        QImage image = PictureStore::decode(PictureStore::resourceBytes(id, resourceType));
        if (image.isNull())
            return 0;
        picture = QPixmap::fromImage(std::move(image));
        QPixmapCache::insert(key, picture);
    }
    target->setPicture(picture, id);
    return 1;
}

} // namespace tessaroc::support
