#include "video/VideoControls.h"

#include <QPalette>

namespace tessaroc::video {

namespace {

void darkScreen(QWidget &widget)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, QColor(0x10, 0x14, 0x1c));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

} // namespace

VideoView::VideoView(QWidget *parent)
    : QWidget(parent)
{
    darkScreen(*this);
}

VideoCapture::VideoCapture(QWidget *parent)
    : QWidget(parent)
{
    darkScreen(*this);
}

} // namespace tessaroc::video
