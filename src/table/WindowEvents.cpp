#include "table/MainForm.h"

#include "chat/SpeakBox.h"
#include "core/HallService.h"
#include "core/TableState.h"
#include "items/ItemService.h"
#include "sound/SoundService.h"

#include <QApplication>
#include <QTimer>

namespace tessaroc::table {

namespace {

// The per-seat speech bubbles among the program's open windows.
QList<QWidget *> speakBoxes()
{
    QList<QWidget *> boxes;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->windowTitle() == QStringView(chat::kSpeakBoxCaption))
            boxes.append(window);
    }
    return boxes;
}

// The six MP3 channels of the music; none of them is ever created.
constexpr int kMp3Channels = 6;

} // namespace

void MainForm::Form_Activate()
{
    messages.Chat->setFocus();
}

void MainForm::Form_Resize()
{
    if (WindowState() == Minimized) {
        for (QWidget *box : speakBoxes())
            box->hide();
        effects.bombPlayer.setVisible(false);
        services_.sound.StopSound();
        for (int channel = 0; channel < kMp3Channels; ++channel)
            services_.sound.StopMP3(channel);
        return;
    }

    // In front of the other windows, without staying above them.
    raise();
    if (!services_.hall.MinimiseHall())
        return;
    core::CoreState &core = state_.core;
    if (core.TableHidden) {
        core.AutoModeKey = false;
        core.TurnSeconds = 15;
        core.TableHidden = false;
        core.AutoMode = false;
    }
    if (state_.gamedllstate > 0)
        services_.items.FixBuffPos();
    core.TimeoutCount = 0;
    // A bubble that was fading in when the window went away stays hidden and
    // transparent until the chat shows it again.
    for (QWidget *box : speakBoxes()) {
        if (auto *fade = box->findChild<QTimer *>(QLatin1String(chat::kFadeTimerName)))
            fade->stop();
        chat::SetFormAlpha(*box, 0);
        box->hide();
        chat::SetFormTopmost(*box, true);
    }
}

} // namespace tessaroc::table
