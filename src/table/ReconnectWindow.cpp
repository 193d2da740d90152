#include "table/ReconnectWindow.h"

#include "table/TablePictures.h"

namespace tessaroc::table {

namespace {

constexpr int kWidth = 280;
constexpr int kHeight = 140;
constexpr int kButtonWidth = 65;
constexpr int kButtonHeight = 30;
constexpr int kOkButtonGif = 170;
constexpr int kCancelButtonGif = 172;

} // namespace

ReconnectWindow::ReconnectWindow(QWidget *parent)
    : forms::PopupWindow(parent)
    , lbTime(this)
    , lbReconnect(this)
    , pbReconnect(this)
    , pbCancel(this)
{
    resize(kWidth, kHeight);
    lbReconnect.Move(20, 20, kWidth - 40, 24);
    lbReconnect.setCaption(QStringLiteral("发现网络断开，需要重连吗？"));
    lbTime.Move(20, 52, kWidth - 40, 24);
    lbTime.setCaption(QStringLiteral("30 秒后自动重连"));
    pbReconnect.Move(60, 92, kButtonWidth, kButtonHeight);
    pbCancel.Move(155, 92, kButtonWidth, kButtonHeight);
    useHandCursor(pbReconnect);
    useHandCursor(pbCancel);
    connect(&pbReconnect, &forms::Element::Click, this, &ReconnectWindow::reconnectClicked);
    connect(&pbCancel, &forms::Element::Click, this, &ReconnectWindow::cancelClicked);
}

void ReconnectWindow::Load()
{
    loaded_ = true;
    pbReconnect.Move(pbReconnect.Left(), pbReconnect.Top(), kButtonWidth, kButtonHeight);
    pbCancel.Move(pbCancel.Left(), pbCancel.Top(), kButtonWidth, kButtonHeight);
    loadPicture(pbReconnect, kOkButtonGif);
    loadPicture(pbCancel, kCancelButtonGif);
}

void ReconnectWindow::SetCountdownText(const QString &text)
{
    lbTime.setCaption(text);
}

void ReconnectWindow::Hide()
{
    hide();
}

void ReconnectWindow::Unload()
{
    loaded_ = false;
    hide();
}

} // namespace tessaroc::table
