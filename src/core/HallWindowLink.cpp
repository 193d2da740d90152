#include "core/HallWindowLink.h"

#include "core/CoreContext.h"
#include "core/Leave.h"
#include "core/ServerConnection.h"
#include "core/TableReset.h"
#include "platform/HallLink.h"

namespace tessaroc::core {

namespace {

QString captionOf(const std::string &caption)
{
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

} // namespace

HallWindowLink::HallWindowLink(CoreContext &context, platform::HallLink &link)
    : c_(context)
    , link_(link)
{
    // Queued: the link notices the hall going away inside any lookup, and
    // the table's state is read once that step is over.
    gone_ = QObject::connect(
            &link_, &platform::HallLink::windowGone, &link_,
            [this](const QString &caption) { windowGone(caption); }, Qt::QueuedConnection);
}

HallWindowLink::~HallWindowLink()
{
    QObject::disconnect(gone_);
}

void HallWindowLink::windowGone(const QString &caption)
{
    if (caption != captionOf(c_.loop().HallCaption))
        return;
    // Connected, connecting or in a hand (reconnecting to it), the table
    // goes on, and ends where it next looks for the hall. Otherwise the
    // hall's reconnect or leave request is all it waits for.
    const int socket = c_.socket.State();
    if (socket == services::ServerSocket::sckConnected
        || socket == services::ServerSocket::sckConnecting || c_.state.rules.InGame)
        return;
    // A hall that came back under the caption takes the table again.
    if (FindHall())
        return;
    c_.process.End(ExitCode::HallMissing);
}

bool HallWindowLink::FindHall()
{
    // Before the command line has named the hall there is nothing to look
    // for: a lookup then finds no hall, with the ending of a missing hall.
    const std::string &caption = c_.loop().HallCaption;
    return !caption.empty() && link_.findWindow(captionOf(caption));
}

bool HallWindowLink::systemCommand(std::int64_t command)
{
    if (!FindHall()) {
        c_.process.End(ExitCode::HallMissing);
        return false;
    }
    link_.sendMessage(captionOf(c_.loop().HallCaption), wire::kSysCommand, command, 0);
    return true;
}

bool HallWindowLink::RestoreHall()
{
    return systemCommand(wire::kScRestore);
}

bool HallWindowLink::MinimiseHall()
{
    return systemCommand(wire::kScMinimise);
}

void HallWindowLink::PostToHall(std::uint32_t msg)
{
    const std::string &caption = c_.loop().HallCaption;
    if (!caption.empty())
        link_.postMessage(captionOf(caption), msg);
}

std::int64_t HallWindowLink::HallWndProc(std::uint32_t msg, std::int64_t, std::int64_t)
{
    MainLoopState &loop = c_.loop();
    switch (msg) {
    case wire::kHallMsgAskInGame:
        if (FindHall())
            PostToHall(c_.state.rules.InGame ? wire::kTableMsgInGame : wire::kTableMsgNotInGame);
        break;
    case wire::kHallMsgAskClose:
        if (!FindHall())
            break;
        if (loop.LoginSent) {
            PostToHall(wire::kTableMsgLoginSent);
        } else if (c_.state.rules.InGame) {
            PostToHall(wire::kTableMsgInGame);
        } else {
            leaveTable();
            PostToHall(wire::kTableMsgNotInGame);
        }
        break;
    case wire::kHallMsgLeave:
        leaveTable();
        PostToHall(wire::kTableMsgNotInGame);
        break;
    case wire::kHallMsgReconnect:
        reconnect();
        break;
    default:
        // The table window's own handling: nothing else arrives on this link.
        break;
    }
    return 0;
}

void HallWindowLink::leaveTable()
{
    const LeaveScope leave(c_);
    if (!leave.entered())
        return;
    if (c_.socket.State() == services::ServerSocket::sckConnected) {
        c_.loop().slots.disarm(LoopSlot::ConnWatch);
        CloseVideoAndLeave(c_);
    }
    ResetTable(c_);
}

void HallWindowLink::reconnect()
{
    c_.rings.RingMode = true;
    ConnectToServer(c_, ConnectReason::HallReconnect);
    c_.state.core.ButtonDown[2] = false;
    c_.window.SetToolbarPicture(2, 4);
    c_.window.HideTurnClock();
}

bool HallWindowLink::InstallWndProc(const QString &tableCaption)
{
    link_.setHandler([this](std::uint32_t msg, std::int64_t wParam, std::int64_t lParam) {
        return HallWndProc(msg, wParam, lParam);
    });
    return link_.listen(tableCaption);
}

void HallWindowLink::RestoreWndProc()
{
    link_.stopListening();
    link_.setHandler({});
}

} // namespace tessaroc::core
