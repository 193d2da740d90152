#pragma once

#include "core/HallService.h"
#include "core/services/HallWindow.h"
#include "wire/HallMessages.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace tessaroc::platform {
class HallLink;
}

namespace tessaroc::core {

struct CoreContext;

// The table's side of the hall link: the hall window is looked up by
// HallCaption at every call (a caption not known yet finds nothing), restored
// or minimised with the system command, and told the table's status; the
// hall's four requests arrive in HallWndProc, which the start-up installs as
// the table window's message handler and the unload removes.
class HallWindowLink final : public services::HallWindow, public HallService
{
public:
    HallWindowLink(CoreContext &context, platform::HallLink &link);

    bool FindHall() override;
    bool RestoreHall() override;
    bool MinimiseHall() override;
    void PostToHall(std::uint32_t msg) override;

    std::int64_t HallWndProc(std::uint32_t msg, std::int64_t wParam, std::int64_t lParam);

    // Start-up step 26 and unload step 1: the table window takes the hall's
    // messages under its caption, and gives them up.
    bool InstallWndProc(const QString &tableCaption);
    void RestoreWndProc();

private:
    bool systemCommand(std::int64_t command);
    void leaveTable();
    void reconnect();

    CoreContext &c_;
    platform::HallLink &link_;
};

} // namespace tessaroc::core
