#pragma once

#include <QString>

namespace tessaroc::core::services {

// The reconnection dialog frmReconnect as its logic sees it. The dialog is
// loaded hidden and nothing shows it; it only carries the countdown text and
// the two buttons, whose clicks reach Reconnection.
class ReconnectView
{
public:
    virtual ~ReconnectView() = default;

    // The dialog loaded (hidden) with its button pictures.
    virtual void Load() = 0;
    virtual void SetCountdownText(const QString &text) = 0;
    virtual void Hide() = 0;
    virtual void Unload() = 0;
};

} // namespace tessaroc::core::services
