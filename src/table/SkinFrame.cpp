#include "table/MainForm.h"

#include "core/TableState.h"
#include "table/SkinFrame.h"

#include <QPainter>
#include <QWindow>

namespace tessaroc::table {

namespace {

constexpr double px(double twips)
{
    return forms::twipsToPixels(twips);
}

QRectF pixels(const TwipsRect &r)
{
    return {px(r.Left), px(r.Top), px(r.Width), px(r.Height)};
}

void showPictureOf(forms::Image &button, const forms::Image &holder)
{
    button.setPicture(holder.picture(), holder.Picture());
}

} // namespace

// The frame is painted into what the window keeps on its surface; nothing
// repaints it later, and a later painting for a larger window draws over the
// earlier one.
void MainForm::paintSkinPieces()
{
    const QSize size(static_cast<int>(std::lround(px(Width()))),
                     static_cast<int>(std::lround(px(Height()))));
    if (size.isEmpty())
        return;
    // The canvas only grows: a larger window gets a new one with the earlier
    // painting in its corner; otherwise the pieces are painted over the
    // canvas there is, which gives the same pixels without a new window-
    // sized picture for each painting.
    const QSize needed = size.expandedTo(frameCanvas_.size());
    if (frameCanvas_.size() != needed) {
        QPixmap canvas(needed);
        canvas.fill(palette().color(QPalette::Window));
        if (!frameCanvas_.isNull()) {
            QPainter copy(&canvas);
            copy.drawPixmap(0, 0, frameCanvas_);
        }
        frameCanvas_ = canvas;
    }
    // The surface shows the canvas it shares: it lets go first, so that the
    // painting does not copy the canvas.
    setPicture(QPixmap(), 0);
    const QPixmap &skin = frame.Skin.picture();
    if (!skin.isNull()) {
        QPainter painter(&frameCanvas_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        for (const SkinPiece &piece : SkinFramePieces(Width(), Height())) {
            const QRectF target = pixels(piece.destination);
            if (target.width() > 0 && target.height() > 0)
                painter.drawPixmap(target, skin, pixels(piece.source));
        }
    }
    setPicture(frameCanvas_, 0);
}

void MainForm::DrawSkinFrame()
{
    paintSkinPieces();

    const QIcon icon = windowIcon();
    if (!icon.isNull()) {
        frame.ImgIcon.setPicture(icon.pixmap(QSize(16, 16)), 0);
        frame.ImgIcon.setStretch(true);
        frame.ImgIcon.Move(px(50), px(50), px(240), px(240));
    }

    forms::Image &close = frame.ImgClose(0);
    // The window has no border of the system: its drawing area is all of it.
    close.setLeft(px(Width()) - close.Width() - px(70));
    close.setTop(px(25));
    showPictureOf(close, frame.ImgClose(1));
    close.ZOrder(0);

    forms::Image &minimise = frame.ImgMin(0);
    minimise.setLeft(close.Left() - minimise.Width() - px(30));
    minimise.setTop(px(25));
    showPictureOf(minimise, frame.ImgMin(1));
    minimise.ZOrder(0);

    frame.LbMove.Move(px(290), 0, minimise.Left() - px(290), close.Height() + px(50));
    frame.lcaption.Move(px(300), px(25));
    frame.lcaption.setForeColor(Qt::white);
}

// --- Caption buttons: pressed, hover and normal pictures ---------------------

void MainForm::ImgClose_MouseDown(int index, int, int, double, double)
{
    if (index == 0)
        showPictureOf(frame.ImgClose(0), frame.ImgClose(3));
}

void MainForm::ImgClose_MouseUp(int index, int, int, double, double)
{
    if (index == 0)
        showPictureOf(frame.ImgClose(0), frame.ImgClose(2));
}

// One flag serves both buttons: while one is highlighted the other stays
// plain until the pointer crosses the caption strip or the window.
void MainForm::ImgClose_MouseMove(int index, int, int, double, double)
{
    if (index != 0 || !state_.table.CaptionButtonsIdle)
        return;
    showPictureOf(frame.ImgClose(0), frame.ImgClose(2));
    state_.table.CaptionButtonsIdle = false;
}

void MainForm::ImgClose_Click(int index)
{
    if (index == 0)
        Q_EMIT leaveRequested();
}

void MainForm::ImgMin_MouseDown(int index, int, int, double, double)
{
    if (index == 0)
        showPictureOf(frame.ImgMin(0), frame.ImgMin(3));
}

void MainForm::ImgMin_MouseUp(int index, int, int, double, double)
{
    if (index == 0)
        showPictureOf(frame.ImgMin(0), frame.ImgMin(2));
}

void MainForm::ImgMin_MouseMove(int index, int, int, double, double)
{
    if (index != 0 || !state_.table.CaptionButtonsIdle)
        return;
    showPictureOf(frame.ImgMin(0), frame.ImgMin(2));
    state_.table.CaptionButtonsIdle = false;
}

void MainForm::ImgMin_Click(int index)
{
    if (index == 0)
        setWindowStateCode(Minimized);
}

// --- Hover-off and dragging -----------------------------------------------

void MainForm::Form_MouseMove(int, int, double, double)
{
    if (state_.table.CaptionButtonsIdle)
        return;
    state_.table.CaptionButtonsIdle = true;
    showPictureOf(frame.ImgClose(0), frame.ImgClose(1));
    showPictureOf(frame.ImgMin(0), frame.ImgMin(1));
}

void MainForm::LbMove_MouseMove(int button, int shift, double x, double y)
{
    frame.LbMove.setMousePointer(forms::MousePointer::Default);
    Form_MouseMove(button, shift, x, y);
}

// The left button on the caption strip lets the window system move the
// window until the button is released.
void MainForm::LbMove_MouseDown(int button, int, double, double)
{
    if (button != forms::mouse::kLeft)
        return;
    Q_EMIT moveStarted();
    frame.LbMove.setMousePointer(forms::MousePointer::SizeAll);
    if (QWidget *grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    if (QWindow *window = windowHandle())
        window->startSystemMove();
}

} // namespace tessaroc::table
