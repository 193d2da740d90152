#include "play/PlayWindows.h"

#include "chat/ChatService.h"
#include "settlement/SettlementService.h"
#include "table/MainForm.h"

#include <QDesktopServices>
#include <QUrl>

namespace tessaroc::play {

PlayWindows::~PlayWindows() = default;

TablePlayWindows::TablePlayWindows(table::TableServices &services)
    : services_(services)
{ }

void TablePlayWindows::HideTalk()
{
    services_.chat.HideTalk();
}

void TablePlayWindows::HideHuifu()
{
    services_.chat.HideHuifu();
}

void TablePlayWindows::HideScore()
{
    services_.settlement.HideScore();
}

void TablePlayWindows::OpenPage(const QString &address)
{
    // Tests and the offscreen runs open nothing.
    if (qEnvironmentVariableIsSet("TESSAROC_NONINTERACTIVE"))
        return;
    QDesktopServices::openUrl(QUrl(address));
}

} // namespace tessaroc::play
