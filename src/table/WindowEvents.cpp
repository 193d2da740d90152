#include "table/MainForm.h"

#include "chat/SpeakBox.h"
#include "core/HallService.h"
#include "core/TableState.h"
#include "items/ItemService.h"
#include "sound/SoundService.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
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
    Chat->setFocus();
}

void MainForm::Form_Resize()
{
    if (WindowState() == Minimized) {
        for (QWidget *box : speakBoxes())
            box->hide();
        bombPlayer.setVisible(false);
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

// The caller asks whether one file exists under exactly its name, so the path
// is taken literally: no character in it is a wildcard, and the stored name
// must match name character for character. The game writes its paths with
// backslashes; either separator is accepted.
std::int16_t MainForm::Is_File_Exist(const QString &path, const QString &name)
{
    QString literal = path;
    literal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QFileInfo file(literal);
    const QString wanted = file.fileName();
    if (wanted.isEmpty() || wanted != name)
        return 0;
    // The stored names of the folder's visible files: a folder, a hidden
    // file or a name that differs only in letter case does not count.
    const QStringList stored = file.dir().entryList(QDir::Files | QDir::NoDotAndDotDot);
    return stored.contains(wanted, Qt::CaseSensitive) ? -1 : 0;
}

} // namespace tessaroc::table
