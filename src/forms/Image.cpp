#include "forms/Image.h"

#include <QPainter>

namespace tessaroc::forms {

Image::Image(Surface *container)
    : Element(container)
{ }

void Image::setStretch(bool stretch)
{
    if (stretch == stretch_)
        return;
    stretch_ = stretch;
    changed();
}

void Image::setPicture(const QPixmap &picture, int id)
{
    picture_ = picture;
    pictureId_ = picture.isNull() ? 0 : id;
    if (!stretch_ && !picture.isNull())
        Move(Left(), Top(), picture.width(), picture.height());
    changed();
}

void Image::copyFrom(const Element &other)
{
    Element::copyFrom(other);
    if (const auto *image = qobject_cast<const Image *>(&other)) {
        picture_ = image->picture_;
        pictureId_ = image->pictureId_;
        stretch_ = image->stretch_;
    }
}

void Image::paint(QPainter &painter, const QRect &r)
{
    if (picture_.isNull())
        return;
    if (stretch_) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(r, picture_);
    } else {
        painter.setClipRect(r, Qt::IntersectClip);
        painter.drawPixmap(r.topLeft(), picture_);
    }
}

} // namespace tessaroc::forms
