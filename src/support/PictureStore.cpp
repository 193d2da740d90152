#include "support/PictureStore.h"

#include "gif/GifAnimation.h"
#include "support/GifImages.h"

#include <QDir>
#include <QFile>

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
        return QImage::fromData(bytes, "JPEG");
    gif::GifAnimation gif;
    const std::span<const std::uint8_t> data(
            reinterpret_cast<const std::uint8_t *>(bytes.constData()),
            static_cast<std::size_t>(bytes.size()));
    if (gif.LoadGifArray(data) == 0)
        return {};
    return ComposedImage(gif, 1);
}

QPixmap PictureStore::designPicture(QStringView name)
{
    ensureResources();
    QFile file(QStringLiteral(":/design/") + name.toString());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QPixmap::fromImage(decode(file.readAll()));
}

QCursor PictureStore::handCursor()
{
    return QCursor(designPicture(u"hand_cursor"), 12, 4);
}

std::int16_t LoadGifResource(std::int16_t id, QStringView resourceType, PictureTarget *target)
{
    if (!target)
        return 0;
    const QImage image = PictureStore::decode(PictureStore::resourceBytes(id, resourceType));
    if (image.isNull())
        return 0;
    target->setPicture(QPixmap::fromImage(image), id);
    return 1;
}

} // namespace tessaroc::support
