#pragma once

#include "platform/VideoDevices.h"

#include <QImage>
#include <QWidget>

#include <cstdint>

namespace tessaroc::platform {

// A video view (vshow): the small view of another seat on the table and the
// view of a video panel window. It shows the last frame it was given to draw
// (frames are BMP images), stretched over the view; until then, or for bytes
// that are no picture, the dark screen of its frame.
class VideoView : public QWidget, public FrameView
{
    Q_OBJECT

public:
    explicit VideoView(QWidget *parent = nullptr);

    void DrawFrame(const VideoFrame &frame) override;

    bool Option0 = false;
    bool Option1 = false;

    int framesDrawn() const { return framesDrawn_; }
    const VideoFrame &lastFrame() const { return lastFrame_; }

Q_SIGNALS:
    // The pointer moved over the view; x and y in twips of the view.
    void PointerMove(int a, int b, float x, float y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    QImage image_;
    VideoFrame lastFrame_;
    int framesDrawn_ = 0;
};

// The own camera view (vcap1) over the camera device behind it; without a
// device a start reports that there is none.
class VideoCapture : public QWidget
{
    Q_OBJECT

public:
    explicit VideoCapture(QWidget *parent = nullptr);

    // Results of StartCapture.
    static constexpr std::int16_t CaptureStarted = 0;
    static constexpr std::int16_t NoDevice = 1;

    void setDevice(CameraDevice *device) { device_ = device; }

    void ResetDevice()
    {
        if (device_)
            device_->ResetDevice();
    }
    std::int16_t StartCapture() { return device_ ? device_->StartCapture() : NoDevice; }

    bool Option1 = false;
    bool Option2 = false;
    bool Option4 = false;
    int CaptureRate = 0;

private:
    CameraDevice *device_ = nullptr;
};

} // namespace tessaroc::platform
