#pragma once

#include <QWidget>

#include <cstdint>

namespace tessaroc::video {

// The small video view of another seat on the table (vshow). No video link
// exists in this configuration, so it shows the dark screen of its frame.
class VideoView : public QWidget
{
    Q_OBJECT

public:
    explicit VideoView(QWidget *parent = nullptr);

    bool Option1 = false;
};

// The own camera view (vcap1). There is no camera behind it: starting the
// capture reports that no device is there.
class VideoCapture : public QWidget
{
    Q_OBJECT

public:
    explicit VideoCapture(QWidget *parent = nullptr);

    // Results of StartCapture.
    static constexpr std::int16_t CaptureStarted = 0;
    static constexpr std::int16_t NoDevice = 1;

    void ResetDevice() { }
    std::int16_t StartCapture() { return NoDevice; }

    bool Option1 = false;
    bool Option2 = false;
    bool Option4 = false;
    int CaptureRate = 0;
};

} // namespace tessaroc::video
