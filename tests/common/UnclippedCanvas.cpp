#include "UnclippedCanvas.h"

namespace tessaroc::test {

// Hands every drawing to a painter on the image, with the state the outer
// painter sets, the clips left out.
class UnclippedCanvas::Engine final : public QPaintEngine
{
public:
    explicit Engine(QImage &image)
        : QPaintEngine(AllFeatures)
        , image_(image)
    { }

    bool begin(QPaintDevice *) override { return inner_.begin(&image_); }
    bool end() override { return inner_.end(); }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState &changed) override
    {
        const DirtyFlags dirty = changed.state();
        if (dirty & DirtyTransform)
            inner_.setTransform(changed.transform());
        if (dirty & DirtyPen)
            inner_.setPen(changed.pen());
        if (dirty & DirtyBrush)
            inner_.setBrush(changed.brush());
        if (dirty & DirtyBrushOrigin)
            inner_.setBrushOrigin(changed.brushOrigin());
        if (dirty & DirtyFont)
            inner_.setFont(changed.font());
        if (dirty & DirtyBackground)
            inner_.setBackground(changed.backgroundBrush());
        if (dirty & DirtyBackgroundMode)
            inner_.setBackgroundMode(changed.backgroundMode());
        if (dirty & DirtyHints)
            inner_.setRenderHints(changed.renderHints());
        if (dirty & DirtyCompositionMode)
            inner_.setCompositionMode(changed.compositionMode());
        if (dirty & DirtyOpacity)
            inner_.setOpacity(changed.opacity());
    }

    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        inner_.drawTextItem(p, item);
    }
    void drawRects(const QRectF *rects, int count) override { inner_.drawRects(rects, count); }
    void drawPath(const QPainterPath &path) override { inner_.drawPath(path); }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        if (mode == PolylineMode)
            inner_.drawPolyline(points, count);
        else
            inner_.drawPolygon(points, count,
                               mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    }
    void drawPixmap(const QRectF &r, const QPixmap &pixmap, const QRectF &source) override
    {
        inner_.drawPixmap(r, pixmap, source);
    }
    void drawImage(const QRectF &r, const QImage &image, const QRectF &source,
                   Qt::ImageConversionFlags flags) override
    {
        inner_.drawImage(r, image, source, flags);
    }

private:
    QImage &image_;
    QPainter inner_;
};

UnclippedCanvas::UnclippedCanvas(QSize size)
    : image_(size, QImage::Format_ARGB32_Premultiplied)
    , engine_(std::make_unique<Engine>(image_))
{
    image_.fill(Qt::transparent);
}

UnclippedCanvas::~UnclippedCanvas() = default;

QPaintEngine *UnclippedCanvas::paintEngine() const
{
    return engine_.get();
}

int UnclippedCanvas::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return image_.width();
    case PdmHeight:
        return image_.height();
    case PdmWidthMM:
        return image_.widthMM();
    case PdmHeightMM:
        return image_.heightMM();
    case PdmNumColors:
        return image_.colorCount();
    case PdmDepth:
        return image_.depth();
    case PdmDpiX:
        return image_.logicalDpiX();
    case PdmDpiY:
        return image_.logicalDpiY();
    case PdmPhysicalDpiX:
        return image_.physicalDpiX();
    case PdmPhysicalDpiY:
        return image_.physicalDpiY();
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
}

} // namespace tessaroc::test
