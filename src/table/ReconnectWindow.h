#pragma once

#include "core/services/ReconnectView.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/PopupWindow.h"

namespace tessaroc::table {

// frmReconnect: the reconnection dialog. It is loaded hidden and nothing
// shows it; the reconnection runs in the client core and only writes its
// countdown here. The buttons report their clicks.
class ReconnectWindow : public forms::PopupWindow, public core::services::ReconnectView
{
    Q_OBJECT

public:
    explicit ReconnectWindow(QWidget *parent = nullptr);

    void Load() override;
    void SetCountdownText(const QString &text) override;
    void Hide() override;
    void Unload() override;

    bool loaded() const { return loaded_; }

    forms::Label lbTime;
    forms::Label lbReconnect;
    forms::Image pbReconnect;
    forms::Image pbCancel;

Q_SIGNALS:
    void reconnectClicked();
    void cancelClicked();

private:
    bool loaded_ = false;
};

} // namespace tessaroc::table
