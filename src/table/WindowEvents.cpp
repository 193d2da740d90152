#include "table/MainForm.h"

#include "core/HallService.h"
#include "core/TableState.h"

namespace tessaroc::table {

void MainForm::Form_Activate()
{
    messages.Chat->setFocus();
}

void MainForm::Form_Resize()
{
    if (WindowState() == Minimized) {
        effects.bombPlayer.setVisible(false);
        Q_EMIT minimised();
        return;
    }

    // In front of the other windows, without staying above them.
    raise();
    if (!hall_.MinimiseHall())
        return;
    core::CoreState &core = state_.core;
    if (core.TableHidden) {
        core.AutoModeKey = false;
        core.TurnSeconds = 15;
        core.TableHidden = false;
        core.AutoMode = false;
    }
    core.TimeoutCount = 0;
    Q_EMIT restored();
}

} // namespace tessaroc::table
