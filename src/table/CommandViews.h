#pragma once

#include "core/services/TableWindow.h"

#include <QString>

#include <cstdint>

namespace tessaroc::core {
struct TableState;
}

namespace tessaroc::table {

class MainForm;
class OtherExitDialog;

// What the server's commands show on the table window, control by control,
// at the layout scale of the table state. The table window's service hands
// these on; tests call them on a window laid out offscreen.
class CommandViews
{
public:
    using ClockKind = core::services::TableWindow::ClockKind;
    using SeatView = core::services::TableWindow::SeatView;

    CommandViews(MainForm &form, core::TableState &state, OtherExitDialog &otherExit);

    void CloseLeaveDialog();
    void HideReadyMarks();
    void ShowShowCardDouble(int value);
    void SetWealthShown(bool shown);
    QString WealthCaption() const;
    void ShowSortButton();
    void PlaceOwnBottomCard(int slot);
    void BringRoomStripToFront();

    void ShowBidButtons();
    bool LandlordBadgeVisible() const;
    void ShowLandlord(int pos);
    void FirstPlayOfHand();

    void ShowTurnClock(ClockKind kind, int pos, int seconds);
    void ShowClockHere(int seconds);

    void HideCardPicture(int pos, int index);
    void ShowPassPicture(int pos);
    void ShowOwnTurnButtons(bool lead);

    void ShowSeat(int pos, const SeatView &view);
    void EmptySeat(int pos);
    void ClearSeatMarkAndAvatar(int pos);
    bool ReadyMarkVisible(int pos) const;
    void ShowReadyMark(int pos);
    bool NameShown(int pos) const;
    void HideSeatVideo(int pos);

    void ShowShowCardNote(bool shown);
    void ShowWealthNotes();
    void ShowWealth(std::int32_t value);
    void HideWealth();

    void PlaceReadyClockAndShuffle();
    void ShowSeatShuffle(const QString &firstCaption, const QString &adUrl);
    void HideShuffleNotice(bool stopTimer);
    bool ShuffleNoticeRunning() const;
    void HideAdPanel();
    void ShowWebPanel(const QString &url);

    void SetOtherExitText(const QString &text);
    void ShowOtherExit();

private:
    MainForm &form_;
    core::TableState &state_;
    OtherExitDialog &otherExit_;
};

} // namespace tessaroc::table
