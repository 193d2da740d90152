#include "platform/VideoControls.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace tessaroc::platform {

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
    setMouseTracking(true);
}

void VideoView::mouseMoveEvent(QMouseEvent *event)
{
    constexpr double kTwipsPerPixel = 15.0;
    Q_EMIT PointerMove(0, 0, static_cast<float>(event->position().x() * kTwipsPerPixel),
                       static_cast<float>(event->position().y() * kTwipsPerPixel));
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

} // namespace tessaroc::platform
