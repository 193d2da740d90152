#include "play/PlayWindows.h"

#include "chat/ChatService.h"
#include "settlement/SettlementService.h"
#include "table/ExitDialog.h"
#include "table/MainForm.h"

#include <QDesktopServices>
#include <QUrl>

namespace tessaroc::play {

PlayWindows::~PlayWindows() = default;

TablePlayWindows::TablePlayWindows(table::MainForm &form)
    : form_(form)
{ }

void TablePlayWindows::HideTalk()
{
    form_.services().chat.HideTalk();
}

void TablePlayWindows::HideHuifu()
{
    form_.services().chat.HideHuifu();
}

void TablePlayWindows::HideScore()
{
    form_.services().settlement.HideScore();
}

bool TablePlayWindows::ExitVisible() const
{
    return form_.frmExitLoaded() && form_.frmExit().isVisible();
}

void TablePlayWindows::ShowExit(bool notice, bool topMost)
{
    table::ExitDialog &dialog = form_.frmExit();
    if (topMost)
        dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    dialog.applyWarning(notice, false);
    dialog.centreOn(form_);
    dialog.show();
}

void TablePlayWindows::HideExit()
{
    if (form_.frmExitLoaded())
        form_.frmExit().hide();
}

void TablePlayWindows::UnloadExit()
{
    form_.UnloadFrmExit();
}

void TablePlayWindows::OpenPage(const QString &address)
{
    // Tests and the offscreen runs open nothing.
    if (qEnvironmentVariableIsSet("TESSAROC_NONINTERACTIVE"))
        return;
    QDesktopServices::openUrl(QUrl(address));
}

} // namespace tessaroc::play
