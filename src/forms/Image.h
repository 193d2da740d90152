#pragma once

#include "forms/Element.h"
#include "support/PictureTarget.h"

#include <QPixmap>

namespace tessaroc::forms {

// A windowless picture. With Stretch off it takes the size of every picture
// it is given and draws it unscaled; with Stretch on it keeps its size and
// draws the picture scaled to fit.
class Image : public Element, public support::PictureTarget
{
    Q_OBJECT

public:
    explicit Image(Surface *container = nullptr);

    bool Stretch() const { return stretch_; }
    void setStretch(bool stretch);

    void setPicture(const QPixmap &picture, int id) override;
    int Picture() const override { return pictureId_; }
    const QPixmap &picture() const { return picture_; }

    void copyFrom(const Element &other) override;
    void paint(QPainter &painter, const QRect &r) override;

private:
    QPixmap picture_;
    int pictureId_ = 0;
    bool stretch_ = false;
};

} // namespace tessaroc::forms
