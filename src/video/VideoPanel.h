#pragma once

#include "platform/VideoControls.h"
#include "support/LayoutScale.h"
#include "support/PictureTarget.h"

#include <QPixmap>
#include <QRectF>
#include <QWidget>

#include <array>
#include <functional>

namespace tessaroc::video {

// One of the four top-most video panel windows: frm_Local (number 0, the own
// camera) and frm_Remote1 to frm_Remote3 (the table mates at display
// positions 1 to 3). A borderless picture window with one video view and the
// close, enlarge and shrink images along its top edge; it has three sizes,
// moves to its place beside the table window whenever its size changes, and
// is dragged by its background. It never draws video itself: after a size
// change it asks the table for a redraw of its seat's stored frame.
//
// Positions and sizes are twips (window positions on the screen, the view
// and images inside the window), design values times the layout scale.
class VideoPanel : public QWidget, public support::PictureTarget
{
    Q_OBJECT

public:
    enum class PanelSize { Small, Normal, Large };

    struct Rect
    {
        double Left = 0;
        double Top = 0;
        double Width = 0;
        double Height = 0;
        bool operator==(const Rect &) const = default;
    };

    struct Hooks
    {
        // The table window's Left, Top, Width and Height in twips.
        std::function<QRectF()> tableWindow;
        // The panel changed its size: the table redraws the seat's frame.
        std::function<void(int)> zoom;
        // The close image: the owner unloads the panel.
        std::function<void(int)> unload;
    };

    // Form_Load: hidden, top-most, at the screen origin, normal size.
    VideoPanel(int number, support::LayoutScale scale, Hooks hooks);
    ~VideoPanel() override;

    int number() const { return number_; }
    PanelSize panelSize() const { return size_; }

    // The window's place and size in screen twips.
    const Rect &window() const { return window_; }
    void Move(double left, double top);
    const Rect &view() const { return view_; }
    const std::array<Rect, 3> &ImgCmd() const { return images_; }
    platform::VideoView &vshow() { return *view_widget_; }
    std::int16_t BackPicOffset() const { return backPicOffset_; }
    bool TopMost() const { return topMost_; }
    // Makes the window top-most again; its size stays, it goes to the origin.
    void MakeTopMost();

    void Form_MouseDown(int button, int shift, float x, float y);
    void ImgCmd_Click(int index);
    int dragsStarted() const { return drags_; }

    // The background picture asked for last, whether or not it loaded.
    int BackgroundRequested() const { return backgroundRequested_; }

    void setPicture(const QPixmap &picture, int id) override;
    int Picture() const override { return pictureId_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void ChangeSize(PanelSize to);
    void LoadBackground(int element);
    void Place();
    void apply();
    int imageAt(QPointF pixel) const;

    const int number_;
    const support::LayoutScale scale_;
    Hooks hooks_;
    PanelSize size_ = PanelSize::Normal;
    Rect window_;
    Rect view_;
    std::array<Rect, 3> images_{};
    std::int16_t backPicOffset_ = 0;
    bool topMost_ = false;
    int drags_ = 0;
    int pictureId_ = 0;
    int backgroundRequested_ = 0;
    QPixmap background_;
    platform::VideoView *view_widget_;
};

} // namespace tessaroc::video
