#include "video/VideoPanel.h"

#include "support/PictureStore.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWindow>

#include <cmath>

namespace tessaroc::video {

namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr int kFirstBackPicture = 870;
constexpr int kReducedBackPictures = 3;
constexpr int kLeftButton = 1;

struct SizeDesign
{
    double width, height; // the window
    double viewLeft, viewTop, viewWidth, viewHeight;
    int background; // element of the panel backgrounds
};

constexpr SizeDesign kSizes[] = {
        {2625, 2070, 110, 230, 2400, 1800, 0}, // small
        {4140, 3225, 150, 240, 3840, 2880, 1}, // normal
        {6510, 5115, 240, 480, 6000, 4500, 2}, // large
};

const SizeDesign &design(VideoPanel::PanelSize size)
{
    return kSizes[static_cast<int>(size)];
}

// Where each panel stands beside the table at the small and normal sizes
// (offsets from the centre, as parts of the table's width and height), and
// which corner it takes at the large size.
struct Placement
{
    double dx, dy;
    enum Corner { BottomLeft, TopLeft, TopRight } corner;
};

constexpr Placement kPlacements[] = {
        {-0.2, +0.2, Placement::BottomLeft},
        {-0.2, -0.2, Placement::TopLeft},
        {+0.2, -0.2, Placement::TopRight},
        {-0.2, -0.2, Placement::TopLeft},
};

const QString kTips[] = {QStringLiteral("关闭"), QStringLiteral("放大"), QStringLiteral("缩小")};

} // namespace

VideoPanel::VideoPanel(int number, support::LayoutScale scale, Hooks hooks)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
    , number_(number)
    , scale_(scale)
    , hooks_(std::move(hooks))
    , view_widget_(new platform::VideoView(this))
{
    MakeTopMost();
    backPicOffset_ = scale_.ScaleX < 1.0f ? kReducedBackPictures : 0;
    LoadBackground(design(PanelSize::Normal).background);
    view_widget_->Option0 = true;
    view_widget_->Option1 = true;

    const SizeDesign &normal = design(PanelSize::Normal);
    window_.Width = normal.width * scale_.ScaleX;
    window_.Height = normal.height * scale_.ScaleY;
    view_ = {normal.viewLeft * scale_.ScaleX, normal.viewTop * scale_.ScaleY,
             normal.viewWidth * scale_.ScaleX, normal.viewHeight * scale_.ScaleY};
    for (int i = 0; i < 3; ++i) {
        Rect &image = images_[static_cast<std::size_t>(i)];
        image.Width = 225 * scale_.ScaleX;
        image.Height = 240 * scale_.ScaleY;
        image.Left = window_.Width - view_.Left - (i + 1) * image.Width - 0.5 * i * image.Width;
        image.Top = 0;
    }
    apply();
}

VideoPanel::~VideoPanel() = default;

void VideoPanel::MakeTopMost()
{
    topMost_ = true;
    window_.Left = 0;
    window_.Top = 0;
    apply();
}

void VideoPanel::Move(double left, double top)
{
    window_.Left = left;
    window_.Top = top;
    apply();
}

void VideoPanel::LoadBackground(int element)
{
    backgroundRequested_ = kFirstBackPicture + element + backPicOffset_;
    support::LoadGifResource(static_cast<std::int16_t>(backgroundRequested_), u"GIF", this);
}

void VideoPanel::setPicture(const QPixmap &picture, int id)
{
    background_ = picture;
    pictureId_ = id;
    update();
}

void VideoPanel::Form_MouseDown(int button, int, float, float)
{
    if (button != kLeftButton)
        return;
    ++drags_;
    if (QWindow *handle = windowHandle())
        handle->startSystemMove();
}

void VideoPanel::ImgCmd_Click(int index)
{
    switch (index) {
    case 0:
        if (hooks_.unload)
            hooks_.unload(number_);
        return;
    case 1:
        // The size is kept as it is set, not read back from the width, so
        // the steps work at every scale whatever the window reports.
        if (size_ == PanelSize::Small)
            ChangeSize(PanelSize::Normal);
        else if (size_ == PanelSize::Normal)
            ChangeSize(PanelSize::Large);
        return;
    case 2:
        if (size_ == PanelSize::Normal)
            ChangeSize(PanelSize::Small);
        else if (size_ == PanelSize::Large)
            ChangeSize(PanelSize::Normal);
        return;
    default:
        return;
    }
}

void VideoPanel::ChangeSize(PanelSize to)
{
    const PanelSize from = size_;
    const SizeDesign &d = design(to);
    const double sx = scale_.ScaleX;
    const double sy = scale_.ScaleY;
    LoadBackground(d.background);
    size_ = to;
    window_.Width = d.width * sx;
    window_.Height = d.height * sy;
    Place();
    view_ = {d.viewLeft * sx, d.viewTop * sy, d.viewWidth * sx, d.viewHeight * sy};
    if (hooks_.zoom)
        hooks_.zoom(number_);

    if (to == PanelSize::Normal) {
        const double lefts[] = {3750, 3380, 3000};
        const double factor = from == PanelSize::Small ? 3.0 / 2.0 : 2.0 / 3.0;
        for (std::size_t i = 0; i < 3; ++i) {
            images_[i].Left = lefts[i] * sx;
            images_[i].Width *= factor;
            images_[i].Height *= factor;
            images_[i].Top = 0;
        }
    } else {
        const bool small = to == PanelSize::Small;
        const double factor = small ? 2.0 / 3.0 : 3.0 / 2.0;
        const double margin = (small ? 80 : 150) * sx;
        const double gap = 60 * sx;
        const double top = (small ? 30 : 80) * sy;
        for (std::size_t i = 0; i < 3; ++i) {
            Rect &image = images_[i];
            image.Width *= factor;
            image.Height *= factor;
            image.Top = top;
            image.Left = i == 0 ? window_.Width - image.Width - margin
                                : images_[i - 1].Left - image.Width - gap;
        }
    }
    apply();
}

void VideoPanel::Place()
{
    const QRectF table = hooks_.tableWindow ? hooks_.tableWindow() : QRectF();
    const double ML = table.left(), MT = table.top(), MW = table.width(), MH = table.height();
    const double W = window_.Width, H = window_.Height;
    const Placement &p = kPlacements[number_];
    if (size_ != PanelSize::Large) {
        window_.Left = (MW - W) / 2 + ML + p.dx * MW;
        window_.Top = (MH - H) / 2 + MT + p.dy * MH;
        return;
    }
    switch (p.corner) {
    case Placement::BottomLeft:
        // Measured from the screen's top, not from the table window's.
        window_.Left = ML + 0.05 * MW;
        window_.Top = MH - H - 0.07 * MH;
        break;
    case Placement::TopLeft:
        window_.Left = ML + 0.05 * MW;
        window_.Top = MT + 0.07 * MH;
        break;
    case Placement::TopRight:
        // Measured from the screen's left edge.
        window_.Left = MW - W - 0.05 * MW;
        window_.Top = MT + 0.07 * MH;
        break;
    }
}

void VideoPanel::apply()
{
    const auto px = [](double twips) {
        return static_cast<int>(std::lround(twips / kTwipsPerPixel));
    };
    setGeometry(px(window_.Left), px(window_.Top), std::max(px(window_.Width), 1),
                std::max(px(window_.Height), 1));
    view_widget_->setGeometry(px(view_.Left), px(view_.Top), px(view_.Width), px(view_.Height));
    update();
}

int VideoPanel::imageAt(QPointF pixel) const
{
    const QPointF twips = pixel * kTwipsPerPixel;
    for (int i = 0; i < 3; ++i) {
        const Rect &r = images_[static_cast<std::size_t>(i)];
        if (QRectF(r.Left, r.Top, r.Width, r.Height).contains(twips))
            return i;
    }
    return -1;
}

void VideoPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!background_.isNull())
        painter.drawPixmap(rect(), background_);
    else
        painter.fillRect(rect(), QColor(0x30, 0x34, 0x3c));
    // The close, enlarge and shrink symbols, drawn in their image boxes.
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 3; ++i) {
        const Rect &r = images_[static_cast<std::size_t>(i)];
        const QRectF box(r.Left / kTwipsPerPixel, r.Top / kTwipsPerPixel, r.Width / kTwipsPerPixel,
                         r.Height / kTwipsPerPixel);
        painter.fillRect(box, QColor(0x50, 0x58, 0x68));
        painter.setPen(QPen(Qt::white, 1.5));
        const QRectF in = box.adjusted(box.width() / 4, box.height() / 4, -box.width() / 4,
                                       -box.height() / 4);
        if (i == 0) {
            painter.drawLine(in.topLeft(), in.bottomRight());
            painter.drawLine(in.topRight(), in.bottomLeft());
        } else {
            painter.drawLine(QPointF(in.left(), in.center().y()),
                             QPointF(in.right(), in.center().y()));
            if (i == 1)
                painter.drawLine(QPointF(in.center().x(), in.top()),
                                 QPointF(in.center().x(), in.bottom()));
        }
    }
}

void VideoPanel::mousePressEvent(QMouseEvent *event)
{
    const int image = imageAt(event->position());
    if (image >= 0) {
        ImgCmd_Click(image);
        return;
    }
    const int button = event->button() == Qt::LeftButton ? 1
            : event->button() == Qt::RightButton         ? 2
            : event->button() == Qt::MiddleButton        ? 4
                                                         : 0;
    const int shift = (event->modifiers() & Qt::ShiftModifier ? 1 : 0)
            | (event->modifiers() & Qt::ControlModifier ? 2 : 0)
            | (event->modifiers() & Qt::AltModifier ? 4 : 0);
    Form_MouseDown(button, shift, static_cast<float>(event->position().x() * kTwipsPerPixel),
                   static_cast<float>(event->position().y() * kTwipsPerPixel));
}

bool VideoPanel::event(QEvent *event)
{
    // Only the own panel's images carry tooltips.
    if (event->type() == QEvent::ToolTip && number_ == 0) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int image = imageAt(help->pos());
        if (image >= 0)
            QToolTip::showText(help->globalPos(), kTips[image], this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace tessaroc::video
