#include "table/TableWindowService.h"

#include "core/TableState.h"
#include "table/MainForm.h"
#include "table/TablePictures.h"
#include "table/WindowSizing.h"

namespace tessaroc::table {

namespace {

// Hides (and disables) the loaded elements first..last of a group.
template<class T>
void hideRange(const forms::ControlArray<T> &group, int first, int last, bool disable)
{
    for (int i = first; i <= last; ++i) {
        if (T *element = group.find(i)) {
            element->setVisible(false);
            if (disable)
                element->setEnabled(false);
        }
    }
}

constexpr int kReducedTaskIcon = 199;

} // namespace

TableWindowService::TableWindowService(MainForm &form, core::TableState &state)
    : form_(form)
    , state_(state)
    , views_(form, state, otherExit_)
{ }

void TableWindowService::RestoreAndFocus()
{
    form_.setWindowStateCode(MainForm::Normal);
    form_.activateWindow();
    form_.setFocus();
}

void TableWindowService::PrepareStartUp()
{
    form_.area.imgRenWu.setVisible(false);
    form_.area.imgRenWu.setEnabled(false);
    form_.area.WebBrowser2.setVisible(false);
    state_.table.AdPanel1Failed = false;
    state_.table.AdPanel2Failed = false;
    form_.timers.TimerShuffle.stop();
    form_.effects.LblShuffle.setVisible(false);
    form_.effects.ImgShuffle.setVisible(false);
}

void TableWindowService::FitToScreen(double screenWidthTwips, double screenHeightTwips)
{
    form_.FitToScreen(SizeWindowToScreen(screenWidthTwips, screenHeightTwips));
    if (state_.table.scale.isReduced())
        loadPicture(form_.area.imgRenWu, kReducedTaskIcon);
}

void TableWindowService::InitSeatLayout()
{
    form_.InitSeatLayout();
}

void TableWindowService::InitPlayLayout()
{
    form_.InitPlayLayout();
}

void TableWindowService::ShowTable()
{
    form_.show();
}

void TableWindowService::SetCaption(const QString &caption)
{
    form_.setWindowTitle(caption);
    form_.frame.lcaption.setCaption(caption);
}

void TableWindowService::SetSystemLine(int line, const QString &text)
{
    if (line < 0 || line > 1)
        return;
    QListWidget *list = form_.messages.Sysmsg(line).operator->();
    list->clear();
    if (!text.isEmpty())
        list->addItem(text);
}

bool TableWindowService::IsMinimised() const
{
    return form_.WindowState() == MainForm::Minimized;
}

bool TableWindowService::IsNormal() const
{
    return form_.WindowState() == MainForm::Normal;
}

void TableWindowService::Minimise()
{
    form_.setWindowStateCode(MainForm::Minimized);
}

void TableWindowService::ClearTable()
{
    form_.ClearTable();
}

void TableWindowService::ResetTableView()
{
    SetSystemLine(0, {});
    SetSystemLine(1, {});
    SeatPanels &seats = form_.seats;
    for (int p = 0; p <= 3; ++p) {
        if (auto *avatar = seats.Tou.find(p))
            avatar->setPicture(QPixmap(), 0);
        for (auto *group : {&seats.Nid, &seats.Cash, &seats.Level}) {
            if (auto *caption = group->find(p))
                caption->setCaption({});
        }
    }
    Q_EMIT form_.viewReset();
    for (int p = 0; p <= 3; ++p) {
        if (auto *bid = form_.bid.btnJiaofen.find(p))
            bid->setVisible(false);
        if (auto *bubble = form_.messages.Speak.find(p))
            bubble->setVisible(false);
        if (auto *ready = seats.OK.find(p))
            ready->setVisible(false);
    }
    hideRange(form_.actions.tanOperation, 0, 1, false);
    form_.messages.Chat->clear();
    otherExit_.Unload();
    form_.UnloadFrmExit();
    form_.bid.lbwealth.setCaption(QStringLiteral("0"));
    form_.bid.lbwealth.setVisible(false);
    form_.bid.Imgwealth.setVisible(false);
    // What the last hand left in the player's way.
    HideTurnClock();
    HideBidButtons();
    HideChoiceButtons();
    HideActionButtons();
}

void TableWindowService::ShowClockSeconds(int seconds, bool red)
{
    form_.turn.Number.setCaption(QString::number(seconds));
    form_.turn.Number.setForeColor(red ? QColor(255, 0, 0) : QColor(0, 0, 0));
}

void TableWindowService::HideTurnClock()
{
    form_.turn.Time_Img.setVisible(false);
    form_.turn.Number.setVisible(false);
}

void TableWindowService::HideBidButtons()
{
    hideRange(form_.bid.btnJiaofen, 0, 3, true);
}

void TableWindowService::HideChoiceButtons()
{
    hideRange(form_.actions.tanOperation, 0, 1, true);
}

void TableWindowService::HideActionButtons()
{
    hideRange(form_.actions.Operation, 0, 2, false);
}

void TableWindowService::SetToolbarPicture(int button, int pictureIndex)
{
    const auto &pictures = state_.pictures.ButtonPic;
    forms::Image *image = form_.toolbar.AnNiu.find(button);
    if (image && pictureIndex >= 0 && pictureIndex < static_cast<int>(pictures.size()))
        loadPicture(*image, pictures[static_cast<std::size_t>(pictureIndex)]);
}

void TableWindowService::ShowSeatShuffle(const QString &firstCaption, const QString &adUrl)
{
    views_.ShowSeatShuffle(firstCaption, adUrl);
}

void TableWindowService::HideBubble(int pos)
{
    if (forms::Image *bubble = form_.messages.Speak.find(pos))
        bubble->setVisible(false);
}

void TableWindowService::HideWords()
{
    form_.messages.words.setVisible(false);
}

bool TableWindowService::BottomCardsVisible() const
{
    const forms::Image *card = form_.hands.imgDiPai.find(0);
    return card && card->Visible();
}

void TableWindowService::HideBottomCards()
{
    hideRange(form_.hands.imgDiPai, 0, 2, false);
}

void TableWindowService::SetPropLabel(const QString &text)
{
    form_.messages.LbProp.setCaption(text);
}

void TableWindowService::UnloadWindows()
{
    otherExit_.Unload();
    form_.UnloadFrmExit();
    if (form_.frmMingXiLoaded())
        form_.frmMingXi().hide();
}

} // namespace tessaroc::table
