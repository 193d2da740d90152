#pragma once

#include "forms/Surface.h"

namespace tessaroc::forms {

// A pop-up window of the table: borderless, placed by its opener (usually
// centred on the table window), translucent and dragged by its client area
// where the window says so. Its geometry can be given in twips, the unit the
// game places windows in.
class PopupWindow : public Surface
{
    Q_OBJECT

public:
    // The opacity of translucent pop-ups: 200 of 255.
    static constexpr int kTranslucentAlpha = 200;

    struct Options
    {
        bool translucent = true;
        bool draggable = true;
    };

    explicit PopupWindow(QWidget *parent = nullptr);
    PopupWindow(Options options, QWidget *parent = nullptr);

    bool isTranslucent() const { return translucent_; }
    void setTranslucent(bool translucent);
    bool isDraggable() const { return draggable_; }
    void setDraggable(bool draggable) { draggable_ = draggable; }

    // Geometry in twips, converted to whole pixels (halves to the even one).
    double LeftTwips() const;
    double TopTwips() const;
    double WidthTwips() const;
    double HeightTwips() const;
    void MoveTwips(double left, double top);
    void MoveTwips(double left, double top, double width, double height);

    // Centres the window on another window's frame (the table window).
    void centreOn(const QWidget &window);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool translucent_ = false;
    bool draggable_ = false;
    bool dragging_ = false;
    QPoint dragOffset_;
};

} // namespace tessaroc::forms
