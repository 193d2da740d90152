#include "video/VideoControls.h"

#include <QPainter>
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

void VideoView::DrawFrame(const VideoFrame &frame)
{
    ++framesDrawn_;
    lastFrame_ = frame;
    image_ = QImage::fromData(frame, "BMP");
    update();
}

void VideoView::paintEvent(QPaintEvent *)
{
    if (image_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(rect(), image_);
}

VideoCapture::VideoCapture(QWidget *parent)
    : QWidget(parent)
{
    darkScreen(*this);
}

} // namespace tessaroc::video
