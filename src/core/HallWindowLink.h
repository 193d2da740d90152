#pragma once

#include "core/HallService.h"
#include "core/services/HallWindow.h"
#include "wire/HallMessages.h"

#include <QObject>
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
// the table window's message handler and the unload removes. A table with no
// connection to the server and no hand waits for nothing but the hall: when
// the hall window goes away then, the program ends (HallMissing).
class HallWindowLink final : public services::HallWindow, public HallService
{
public:
    HallWindowLink(CoreContext &context, platform::HallLink &link);
    ~HallWindowLink() override;
    HallWindowLink(const HallWindowLink &) = delete;
    HallWindowLink &operator=(const HallWindowLink &) = delete;

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
    void windowGone(const QString &caption);

    CoreContext &c_;
    platform::HallLink &link_;
    QMetaObject::Connection gone_;
};

} // namespace tessaroc::core
