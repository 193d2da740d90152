#include "table/TableWindowAdapter.h"

#include "core/TableState.h"
#include "table/MainForm.h"
#include "table/OtherExitDialog.h"
#include "table/TablePictures.h"
#include "table/WindowSizing.h"

namespace tessaroc::table {

TableWindowAdapter::TableWindowAdapter(MainForm &form, core::TableState &state,
                                       OtherExitDialog &otherExit)
    : form_(form)
    , state_(state)
    , otherExit_(otherExit)
    , views_(form, state, otherExit)
{ }

void TableWindowAdapter::PrepareStartUp()
{
    form_.area.imgRenWu.setVisible(false);
    form_.area.imgRenWu.setEnabled(false);
    form_.area.WebBrowser2.setVisible(false);
    views_.HideShuffleNotice(true);
}

void TableWindowAdapter::FitToScreen(double screenWidthTwips, double screenHeightTwips)
{
    form_.FitToScreen(SizeWindowToScreen(screenWidthTwips, screenHeightTwips));
}

void TableWindowAdapter::InitSeatLayout()
{
    form_.InitSeatLayout();
}

void TableWindowAdapter::InitPlayLayout()
{
    form_.InitPlayLayout();
}

void TableWindowAdapter::ShowTable()
{
    form_.show();
}

void TableWindowAdapter::SetCaption(const QString &caption)
{
    form_.setWindowTitle(caption);
    form_.frame.lcaption.setCaption(caption);
}

void TableWindowAdapter::SetSystemLine(int line, const QString &text)
{
    if (line < 0 || line > 1)
        return;
    QListWidget &list = *form_.messages.Sysmsg(line).operator->();
    list.clear();
    if (!text.isEmpty())
        list.addItem(text);
}

bool TableWindowAdapter::IsMinimised() const
{
    return form_.WindowState() == MainForm::Minimized;
}

void TableWindowAdapter::Minimise()
{
    form_.setWindowStateCode(MainForm::Minimized);
}

void TableWindowAdapter::RestoreAndFocus()
{
    form_.setWindowStateCode(MainForm::Normal);
    form_.activateWindow();
    form_.setFocus();
}

void TableWindowAdapter::ClearTable()
{
    form_.ClearTable();
}

void TableWindowAdapter::ResetTableView()
{
    SetSystemLine(0, QString());
    SetSystemLine(1, QString());
    for (int pos = 0; pos <= 3; ++pos)
        views_.EmptySeat(pos);
    HideActionButtons();
    HideBidButtons();
    HideChoiceButtons();
    HideTurnClock();
}

void TableWindowAdapter::ShowClockSeconds(int seconds, bool red)
{
    form_.turn.Number.setCaption(QString::number(seconds));
    form_.turn.Number.setForeColor(red ? QColor(255, 0, 0) : QColor(Qt::black));
}

void TableWindowAdapter::HideTurnClock()
{
    form_.turn.Time_Img.setVisible(false);
    form_.turn.Number.setVisible(false);
}

void TableWindowAdapter::HideBidButtons()
{
    form_.bid.btnJiaofen.forEach([](forms::Image &button) {
        button.setVisible(false);
        button.setEnabled(false);
    });
}

void TableWindowAdapter::HideChoiceButtons()
{
    form_.actions.tanOperation.forEach([](forms::Image &button) {
        button.setVisible(false);
        button.setEnabled(false);
    });
}

void TableWindowAdapter::HideActionButtons()
{
    for (int i = 0; i <= 2; ++i) {
        if (forms::Image *button = form_.actions.Operation.find(i))
            button->setVisible(false);
    }
}

void TableWindowAdapter::SetToolbarPicture(int button, int pictureIndex)
{
    const auto &pics = state_.pictures.ButtonPic;
    forms::Image *target = form_.toolbar.AnNiu.find(button);
    if (!target || pictureIndex < 0 || pictureIndex >= static_cast<int>(pics.size()))
        return;
    loadPicture(*target, pics[static_cast<std::size_t>(pictureIndex)]);
}

void TableWindowAdapter::ShowSeatShuffle(const QString &firstCaption, const QString &adUrl)
{
    views_.ShowSeatShuffle(firstCaption, adUrl);
}

void TableWindowAdapter::HideBubble(int pos)
{
    if (forms::Image *bubble = form_.messages.Speak.find(pos))
        bubble->setVisible(false);
}

void TableWindowAdapter::HideWords()
{
    form_.messages.words.setVisible(false);
}

bool TableWindowAdapter::BottomCardsVisible() const
{
    bool visible = false;
    form_.hands.imgDiPai.forEach([&](const forms::Image &card) { visible |= card.Visible(); });
    return visible;
}

void TableWindowAdapter::HideBottomCards()
{
    form_.hands.imgDiPai.forEach([](forms::Image &card) { card.setVisible(false); });
}

void TableWindowAdapter::SetPropLabel(const QString &text)
{
    form_.messages.LbProp.setCaption(text);
}

void TableWindowAdapter::UnloadWindows()
{
    otherExit_.hide();
    if (form_.frmMingXiLoaded())
        form_.frmMingXi().hide();
}

} // namespace tessaroc::table
