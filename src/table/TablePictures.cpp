#include "table/TablePictures.h"

#include "support/PictureIds.h"
#include "support/PictureStore.h"

namespace tessaroc::table {

void loadPicture(support::PictureTarget &target, int id)
{
    support::LoadGifResource(static_cast<std::int16_t>(id), u"GIF", &target);
}

void loadPicture(support::PictureTarget &target, const QString &idText)
{
    support::LoadGifResource(support::pictureId(idText), u"GIF", &target);
}

QPixmap designPicture(QStringView name)
{
    return support::PictureStore::designPicture(name);
}

QSize designPictureSize(QStringView name)
{
    return support::PictureStore::designPictureSize(name);
}

QCursor handCursor()
{
    const QPixmap hand = designPicture(u"hand_cursor");
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(hand, 12, 4);
}

void useHandCursor(forms::Element &element)
{
    element.setMouseIcon(handCursor());
    element.setMousePointer(forms::MousePointer::Custom);
}

} // namespace tessaroc::table
