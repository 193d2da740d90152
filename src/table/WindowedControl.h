#pragma once

#include <QWidget>

#include <cassert>
#include <cmath>
#include <vector>

namespace tessaroc::table {

// A windowed control of the table window (the table area, a name strip, a
// list box, the chat box, a web panel): a real widget, always above the
// windowless elements of its container. Its place and size are kept as the
// layout computed them, unrounded and in the container's units (pixels inside
// the table area, twips on the window itself), because later steps read them
// back; the widget gets them rounded to whole pixels.
template<class W> class Windowed
{
public:
    Windowed() = default;
    Windowed(const Windowed &) = delete;
    Windowed &operator=(const Windowed &) = delete;
    Windowed(Windowed &&) = default;
    Windowed &operator=(Windowed &&) = default;
    explicit Windowed(W *widget, double unitsPerPixel = 1.0)
        : widget_(widget)
        , unitsPerPixel_(unitsPerPixel)
    {
        assert(widget_);
        const QRect g = widget_->geometry();
        left_ = g.x() * unitsPerPixel_;
        top_ = g.y() * unitsPerPixel_;
        width_ = g.width() * unitsPerPixel_;
        height_ = g.height() * unitsPerPixel_;
        visible_ = !widget_->isHidden();
    }

    W *operator->() const { return widget_; }
    W &widget() const { return *widget_; }

    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    void setLeft(double left) { Move(left, top_, width_, height_); }
    void setTop(double top) { Move(left_, top, width_, height_); }
    void setWidth(double width) { Move(left_, top_, width, height_); }
    void setHeight(double height) { Move(left_, top_, width_, height); }
    void Move(double left, double top) { Move(left, top, width_, height_); }
    void Move(double left, double top, double width, double height)
    {
        // A value that is no number is dropped with its move, and a negative
        // size keeps the old one, as for the windowless elements.
        if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(width)
            || !std::isfinite(height))
            return;
        left_ = left;
        top_ = top;
        if (width >= 0)
            width_ = width;
        if (height >= 0)
            height_ = height;
        apply();
    }

    bool Visible() const { return visible_; }
    void setVisible(bool visible)
    {
        visible_ = visible;
        widget_->setVisible(visible);
    }

    // 0 brings the control in front of the other windowed controls of its
    // container, 1 sends it behind them; it stays above every element.
    void ZOrder(int position = 0)
    {
        if (position == 0)
            widget_->raise();
        else if (position == 1)
            widget_->lower();
    }

    // The whole pixels the widget covers: edges rounded to the nearest pixel.
    QRect pixelRect() const
    {
        const auto px = [this](double units) {
            return static_cast<int>(std::lround(units / unitsPerPixel_));
        };
        const int x0 = px(left_), y0 = px(top_);
        return {x0, y0, px(left_ + width_) - x0, px(top_ + height_) - y0};
    }

private:
    void apply() { widget_->setGeometry(pixelRect()); }

    W *widget_ = nullptr;
    double unitsPerPixel_ = 1.0;
    double left_ = 0;
    double top_ = 0;
    double width_ = 0;
    double height_ = 0;
    bool visible_ = true;
};

// An indexed group of windowed controls (Sysmsg(0 To 1), PicLocal(0 To 3)),
// all present in the window's design.
template<class W> class WindowedArray
{
public:
    explicit WindowedArray(int lowerBound = 0)
        : lowerBound_(lowerBound)
    { }

    void add(Windowed<W> &&control) { controls_.push_back(std::move(control)); }

    Windowed<W> &operator()(int i)
    {
        assert(i >= lowerBound_ && i <= UBound());
        return controls_[static_cast<std::size_t>(i - lowerBound_)];
    }
    const Windowed<W> &operator()(int i) const
    {
        assert(i >= lowerBound_ && i <= UBound());
        return controls_[static_cast<std::size_t>(i - lowerBound_)];
    }
    int LBound() const { return lowerBound_; }
    int UBound() const { return lowerBound_ + static_cast<int>(controls_.size()) - 1; }

private:
    int lowerBound_;
    std::vector<Windowed<W>> controls_;
};

} // namespace tessaroc::table
