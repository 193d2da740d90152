#include "play/PlayWindows.h"

#include "chat/ChatService.h"
#include "core/TableState.h"
#include "settlement/HeroWindow.h"
#include "settlement/ScoreWindow.h"
#include "settlement/SettlementService.h"
#include "sound/SoundSettings.h"
#include "sound/TableSoundHost.h"
#include "table/ExitDialog.h"
#include "table/HoverPictures.h"
#include "table/MainForm.h"
#include "table/OtherExitDialog.h"

#include <QDesktopServices>
#include <QUrl>

namespace tessaroc::play {

namespace {

// Twips that put a window of this size in the middle of the table window.
void centreOnTable(forms::PopupWindow &window, const table::MainForm &form)
{
    window.MoveTwips(form.Left() + (form.Width() - window.WidthTwips()) / 2,
                     form.Top() + (form.Height() - window.HeightTwips()) / 2);
}

} // namespace

PlayWindows::~PlayWindows() = default;

TablePlayWindows::TablePlayWindows(table::MainForm &form, core::TableState &state)
    : form_(form)
    , state_(state)
    , soundHost_(std::make_unique<sound::TableSoundHost>(form, form.services().items))
    , soundSettings_(
              std::make_unique<sound::SoundSettings>(state, form.services().sound, *soundHost_))
{ }

TablePlayWindows::~TablePlayWindows() = default;

// --- The chat --------------------------------------------------------------------

bool TablePlayWindows::TalkVisible() const
{
    return form_.services().chat.TalkVisible();
}

void TablePlayWindows::ShowTalk(double left, double top)
{
    form_.services().chat.ShowTalk(left, top);
}

void TablePlayWindows::HideTalk()
{
    form_.services().chat.HideTalk();
}

void TablePlayWindows::HideHuifu()
{
    form_.services().chat.HideHuifu();
}

void TablePlayWindows::SendChatLine()
{
    form_.services().chat.BtnChat_Click();
}

// --- The settlement's windows ----------------------------------------------------

bool TablePlayWindows::ScoreVisible() const
{
    return form_.services().settlement.ScoreVisible();
}

void TablePlayWindows::ShowScore(std::int16_t handNumber)
{
    settlement::SettlementService &settlement = form_.services().settlement;
    // The settlement fills the board from the records file and shows it
    // centred; without one the board shows as it stands.
    if (settlement.openHand) {
        settlement.openHand(handNumber);
        return;
    }
    settlement::ScoreWindow &score = settlement.Score();
    centreOnTable(score, form_);
    score.show();
    score.raise();
}

void TablePlayWindows::HideScore()
{
    form_.services().settlement.HideScore();
}

bool TablePlayWindows::HeroVisible() const
{
    return form_.services().settlement.HeroVisible();
}

void TablePlayWindows::CentreHero()
{
    centreOnTable(form_.services().settlement.Hero(), form_);
}

void TablePlayWindows::ShowHero()
{
    settlement::HeroWindow &hero = form_.services().settlement.Hero();
    hero.show();
    hero.raise();
}

void TablePlayWindows::HideHero()
{
    form_.services().settlement.HideHero();
}

// --- The sound settings ----------------------------------------------------------

bool TablePlayWindows::VosSetVisible() const
{
    const sound::VosSet *window = soundSettings_->window();
    return window && window->isVisible();
}

void TablePlayWindows::ShowVosSet(double right, double bottom)
{
    // The colour row's first picture follows the own record's text.
    soundSettings_->ShowAt(right, bottom,
                           QString::fromStdString(state_.commands.custom[0].extraText1));
}

void TablePlayWindows::HideVosSet()
{
    soundSettings_->Hide();
}

void TablePlayWindows::UnloadVosSet()
{
    soundSettings_->Unload();
}

// --- The table window's own dialogs ----------------------------------------------

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

void TablePlayWindows::UnloadOtherExit()
{
    if (otherExit_ && otherExit_->isVisible())
        otherExit_->hide();
}

void TablePlayWindows::HideInformation()
{
    form_.hover().HideInformation();
}

void TablePlayWindows::UnloadInformation()
{
    form_.hover().UnloadInformation();
}

void TablePlayWindows::HideMingXi()
{
    if (form_.frmMingXiLoaded())
        form_.frmMingXi().hide();
}

void TablePlayWindows::OpenPage(const QString &address)
{
    // Tests and the offscreen runs open nothing.
    if (qEnvironmentVariableIsSet("TESSAROC_NONINTERACTIVE"))
        return;
    QDesktopServices::openUrl(QUrl(address));
}

} // namespace tessaroc::play
