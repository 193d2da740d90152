#pragma once

#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

#include <memory>

namespace tessaroc::test {

// A canvas that draws everything a painter asks of it but ignores every
// clip, the painter's own and any a drawing sets itself: a text's ink lands
// wherever the text puts it, so a test sees what a clip would cut off.
class UnclippedCanvas final : public QPaintDevice
{
public:
    // Transparent, at the resolution of an image.
    explicit UnclippedCanvas(QSize size);
    ~UnclippedCanvas() override;

    const QImage &image() const { return image_; }
    QPaintEngine *paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine;
    QImage image_;
    std::unique_ptr<Engine> engine_;
};

} // namespace tessaroc::test
