#pragma once

#include "forms/MousePointer.h"

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QObject>
#include <QRectF>
#include <QString>

#include <optional>

class QPainter;

namespace tessaroc::forms {

class Surface;

// Mouse buttons and shift keys as the game's handlers receive them.
namespace mouse {
inline constexpr int kLeft = 1;
inline constexpr int kRight = 2;
inline constexpr int kMiddle = 4;
} // namespace mouse
namespace shift {
inline constexpr int kShift = 1;
inline constexpr int kCtrl = 2;
inline constexpr int kAlt = 4;
} // namespace shift

// A windowless control: it has no window of its own and is drawn and fed
// input by the Surface that holds it. Position and size are the fractional
// values the layout computed (design value times the layout scale); they stay
// exactly as set, because later steps read them back and compare them, and
// are rounded only when painted.
class Element : public QObject
{
    Q_OBJECT

public:
    explicit Element(Surface *container = nullptr);
    ~Element() override;

    Element(const Element &) = delete;
    Element &operator=(const Element &) = delete;

    Surface *container() const { return container_; }
    // Moves the element to another surface (or none), on top of its elements.
    void setContainer(Surface *container);

    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    void setLeft(double left);
    void setTop(double top);
    // Negative sizes are refused: the element keeps its size.
    void setWidth(double width);
    void setHeight(double height);
    void Move(double left, double top);
    void Move(double left, double top, double width, double height);
    QRectF rect() const { return {left_, top_, width_, height_}; }
    // The device pixels the element covers: its edges rounded to the nearest
    // pixel, so that neighbours meet without gaps or overlaps.
    QRect paintRect() const;

    bool Visible() const { return visible_; }
    void setVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    QString Caption() const { return caption_; }
    void setCaption(const QString &caption);

    // No font of its own means the container's font.
    bool hasOwnFont() const { return font_.has_value(); }
    QFont Font() const;
    void setFont(const QFont &font);
    QColor ForeColor() const { return foreColor_; }
    void setForeColor(const QColor &color);
    QColor BackColor() const { return backColor_; }
    void setBackColor(const QColor &color);

    QString ToolTipText() const { return toolTipText_; }
    void setToolTipText(const QString &text) { toolTipText_ = text; }
    MousePointer mousePointer() const { return pointer_; }
    void setMousePointer(MousePointer pointer) { pointer_ = pointer; }
    QCursor MouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const QCursor &icon) { mouseIcon_ = icon; }
    // The cursor shown while the pointer is over the element.
    QCursor cursor() const { return cursorFor(pointer_, mouseIcon_); }

    QString Tag() const { return tag_; }
    void setTag(const QString &tag) { tag_ = tag; }
    // The element's index in its control array, -1 outside one.
    int Index() const { return index_; }
    void setIndex(int index) { index_ = index; }

    // 0 brings the element to the front of its surface's windowless layer,
    // 1 sends it to the back; other values are ignored.
    void ZOrder(int position = 0);
    // Its place in the stacking order, 0 at the back; -1 without a surface.
    int zSequence() const;

    // Asks the surface to repaint the element now.
    void Refresh();

    // Makes this element a copy of other (picture, size, place, stretch,
    // pointer, font, colours, texts), as a control array does for a newly
    // loaded element. The container is not changed.
    virtual void copyFrom(const Element &other);

    // Paints the element; r is paintRect(). The painter is in surface pixels
    // and the surface clips it to r.
    virtual void paint(QPainter &painter, const QRect &r) = 0;

    // A surface point as the element's mouse events report it.
    QPointF localPosition(QPointF surfacePoint) const
    {
        return eventPosition(surfacePoint - QPointF(left_, top_));
    }

    // True when the element takes the input at a point. Every point of its
    // rectangle counts, transparent parts of its picture included.
    virtual bool hitTest(QPointF point) const { return rect().contains(point); }

Q_SIGNALS:
    void Click();
    void DblClick();
    void MouseDown(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);

protected:
    // Asks the surface to repaint the element's area.
    void changed();
    // Repaints now only the part of the element's area that `area` (in
    // surface pixels) covers, for an element that knows what changed.
    void refreshPart(const QRect &area);
    // Hooks for elements that react to their own geometry or visibility.
    virtual void geometryChanged() { }
    // Called after the caption or the font the element draws with changed.
    virtual void textChanged() { }
    virtual void visibilityChanged(bool /*visible*/) { }
    // The position a mouse event reports, from the pointer's position on the
    // element in surface pixels.
    virtual QPointF eventPosition(QPointF local) const { return local; }

private:
    friend class Surface;
    void setGeometry(double left, double top, double width, double height);
    void detachFromContainer();

    Surface *container_ = nullptr;
    double left_ = 0;
    double top_ = 0;
    double width_ = 0;
    double height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    QString caption_;
    std::optional<QFont> font_;
    QColor foreColor_ = Qt::black;
    QColor backColor_ = Qt::white;
    QString toolTipText_;
    MousePointer pointer_ = MousePointer::Default;
    QCursor mouseIcon_;
    QString tag_;
    int index_ = -1;
};

} // namespace tessaroc::forms
