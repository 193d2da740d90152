#include "video/TableVideoHost.h"

#include "support/FileExists.h"
#include "support/PictureStore.h"
#include "table/MainForm.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace tessaroc::video {

namespace {

// One control of the table, reached the same way whatever its kind.
struct ControlRef
{
    forms::Element *element = nullptr;
    QWidget *widget = nullptr;
    std::function<bool()> visible;
    std::function<void(bool)> setVisible;
    std::function<void()> front;
    std::function<QRectF()> rect;
    std::function<void(const QRectF &)> move;
};

ControlRef elementRef(forms::Element *element)
{
    ControlRef ref;
    if (!element)
        return ref;
    ref.element = element;
    ref.visible = [element] {
        return element->Visible();
    };
    ref.setVisible = [element](bool v) {
        element->setVisible(v);
    };
    ref.front = [element] {
        element->ZOrder(0);
    };
    ref.rect = [element] {
        return element->rect();
    };
    ref.move = [element](const QRectF &r) {
        element->Move(r.left(), r.top(), r.width(), r.height());
    };
    return ref;
}

template<class W> ControlRef windowedRef(table::Windowed<W> &control)
{
    ControlRef ref;
    ref.widget = &control.widget();
    ref.visible = [&control] {
        return control.Visible();
    };
    ref.setVisible = [&control](bool v) {
        control.setVisible(v);
    };
    ref.front = [&control] {
        control.ZOrder(0);
    };
    ref.rect = [&control] {
        return QRectF(control.Left(), control.Top(), control.Width(), control.Height());
    };
    ref.move = [&control](const QRectF &r) {
        control.Move(r.left(), r.top(), r.width(), r.height());
    };
    return ref;
}

ControlRef refOf(table::MainForm &form, VideoControl control, int index)
{
    table::SeatPanels &seats = form.seats;
    const bool seat = index >= 0 && index <= 3;
    const bool mate = index >= 1 && index <= 3;
    switch (control) {
    case VideoControl::Tou:
        return seat ? elementRef(seats.Tou.find(index)) : ControlRef{};
    case VideoControl::PicLocal:
        return seat && index <= seats.PicLocal.UBound() ? windowedRef(seats.PicLocal(index))
                                                        : ControlRef{};
    case VideoControl::ImgKuang:
        return mate ? elementRef(seats.ImgKuang.find(index)) : ControlRef{};
    case VideoControl::ImgShow:
        return seat ? elementRef(seats.ImgShow.find(index)) : ControlRef{};
    case VideoControl::vshow:
        return mate && index >= seats.vshow.LBound() && index <= seats.vshow.UBound()
                ? windowedRef(seats.vshow(index))
                : ControlRef{};
    case VideoControl::vcap1:
        return windowedRef(seats.vcap1);
    case VideoControl::Tiplbl:
        return windowedRef(seats.Tiplbl);
    case VideoControl::Proponeself:
        return elementRef(&form.messages.Proponeself);
    }
    return {};
}

// Views of seats the table has no view for draw nowhere.
struct NoView final : platform::FrameView
{
    void DrawFrame(const platform::VideoFrame &) override { }
};

} // namespace

TableVideoHost::TableVideoHost(table::MainForm &form, std::function<void(int)> showPlayerCard,
                               std::function<void()> stopSound)
    : form_(form)
    , showPlayerCard_(std::move(showPlayerCard))
    , stopSound_(std::move(stopSound))
{ }

bool TableVideoHost::Visible(VideoControl control, int index) const
{
    const ControlRef ref = refOf(form_, control, index);
    return ref.visible && ref.visible();
}

void TableVideoHost::SetVisible(VideoControl control, int index, bool visible)
{
    if (const ControlRef ref = refOf(form_, control, index); ref.setVisible)
        ref.setVisible(visible);
}

void TableVideoHost::SetEnabled(VideoControl control, int index, bool enabled)
{
    const ControlRef ref = refOf(form_, control, index);
    if (ref.element)
        ref.element->setEnabled(enabled);
    else if (ref.widget)
        ref.widget->setEnabled(enabled);
}

void TableVideoHost::ZOrder(VideoControl control, int index)
{
    if (const ControlRef ref = refOf(form_, control, index); ref.front)
        ref.front();
}

QRectF TableVideoHost::Rect(VideoControl control, int index) const
{
    const ControlRef ref = refOf(form_, control, index);
    return ref.rect ? ref.rect() : QRectF();
}

void TableVideoHost::Move(VideoControl control, int index, const QRectF &rect)
{
    if (const ControlRef ref = refOf(form_, control, index); ref.move)
        ref.move(rect);
}

void TableVideoHost::SetTipText(const QString &text)
{
    form_.seats.Tiplbl->setText(text);
}

void TableVideoHost::LoadButtonPicture(int index, int pictureId)
{
    if (forms::Image *image = form_.seats.ImCmd.find(index))
        support::LoadGifResource(static_cast<std::int16_t>(pictureId), u"GIF", image);
}

QRectF TableVideoHost::ButtonRect(int index) const
{
    const forms::Image *image = form_.seats.ImCmd.find(index);
    return image ? image->rect() : QRectF();
}

platform::FrameView &TableVideoHost::View(int pos)
{
    table::SeatPanels &seats = form_.seats;
    if (pos >= seats.vshow.LBound() && pos <= seats.vshow.UBound())
        return seats.vshow(pos).widget();
    static NoView none;
    return none;
}

void TableVideoHost::AddSystemMessage(const QString &text)
{
    form_.AddSystemMessage(text);
}

void TableVideoHost::ShowPlayerCard(int pos, double)
{
    if (showPlayerCard_)
        showPlayerCard_(pos);
}

QRectF TableVideoHost::TableWindow() const
{
    return QRectF(form_.Left(), form_.Top(), form_.Width(), form_.Height());
}

QString TableVideoHost::ProgramFolder() const
{
    return QCoreApplication::applicationDirPath();
}

QDateTime TableVideoHost::Now() const
{
    return QDateTime::currentDateTime();
}

void TableVideoHost::OpenFolder(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void TableVideoHost::OpenPage(const QString &url)
{
    QDesktopServices::openUrl(QUrl(url));
}

bool TableVideoHost::PostToWindow(const QString &, std::uint32_t)
{
    return false;
}

void TableVideoHost::StartProgram(const QString &commandLine)
{
    QStringList parts = QProcess::splitCommand(commandLine);
    if (parts.isEmpty())
        return;
    const QString program = parts.takeFirst();
    QProcess::startDetached(program, parts);
}

bool TableVideoHost::FileExists(const QString &path, const QString &name)
{
    return support::FileExists(path, name);
}

bool TableVideoHost::AskOkCancel(const QString &text, const QString &title)
{
    if (qEnvironmentVariableIsSet("TESSAROC_NONINTERACTIVE"))
        return false;
    return QMessageBox::question(&form_, title, text, QMessageBox::Ok | QMessageBox::Cancel)
            == QMessageBox::Ok;
}

void TableVideoHost::StopSound()
{
    if (stopSound_)
        stopSound_();
}

} // namespace tessaroc::video
