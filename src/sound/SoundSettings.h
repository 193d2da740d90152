#pragma once

#include "sound/VosSet.h"

#include <memory>

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::sound {

// The one sound settings window of the table: created when the toolbar's
// sound button first shows it, hidden and shown again by that button, and
// unloaded by the automatic mode and by leaving the table. A window loaded
// again starts with nothing pending.
class SoundSettings
{
public:
    SoundSettings(core::TableState &state, SoundService &sound, VosSetHost &host);
    ~SoundSettings();

    // The toolbar's sound button: a visible window is hidden; a hidden one
    // (loaded first when needed, with the own record's text) is placed at the
    // bottom right of the table area, 1700 twips times ScaleX above its foot,
    // and shown.
    void Toggle(const table::MainForm &form, const QString &ownRecordText);
    // Loads the window when needed and shows it with its right and bottom
    // edges at these screen twips.
    void ShowAt(double right, double bottom, const QString &ownRecordText);
    // Hides the window, keeping what is pending.
    void Hide();
    // Unloads the window.
    void Unload();

    // The window while it is loaded, else null.
    VosSet *window() const { return window_.get(); }

private:
    core::TableState &state_;
    SoundService &sound_;
    VosSetHost &host_;
    std::unique_ptr<VosSet> window_;
};

} // namespace tessaroc::sound
