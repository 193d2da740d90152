#pragma once

#include "core/services/TableWindow.h"
#include "table/CommandViews.h"
#include "table/OtherExitDialog.h"

namespace tessaroc::core {
struct TableState;
}

namespace tessaroc::table {

class MainForm;

// The table window as the client core sees it.
class TableWindowService final : public core::services::TableWindow
{
public:
    TableWindowService(MainForm &form, core::TableState &state);

    void PrepareStartUp() override;
    void FitToScreen(double screenWidthTwips, double screenHeightTwips) override;
    void InitSeatLayout() override;
    void InitPlayLayout() override;
    void ShowTable() override;
    void SetCaption(const QString &caption) override;
    void SetSystemLine(int line, const QString &text) override;
    bool IsMinimised() const override;
    bool IsNormal() const override;
    void Minimise() override;
    void ClearTable() override;
    void ResetTableView() override;
    void ShowClockSeconds(int seconds, bool red) override;
    void HideTurnClock() override;
    void HideBidButtons() override;
    void HideChoiceButtons() override;
    void HideActionButtons() override;
    void SetToolbarPicture(int button, int pictureIndex) override;
    void ShowSeatShuffle(const QString &firstCaption, const QString &adUrl) override;
    void HideBubble(int pos) override;
    void HideWords() override;
    bool BottomCardsVisible() const override;
    void HideBottomCards() override;
    void SetPropLabel(const QString &text) override;
    void UnloadWindows() override;

    void RestoreAndFocus() override;
    void CloseLeaveDialog() override { views_.CloseLeaveDialog(); }
    void HideReadyMarks() override { views_.HideReadyMarks(); }
    void ShowShowCardDouble(int value) override { views_.ShowShowCardDouble(value); }
    void SetWealthShown(bool shown) override { views_.SetWealthShown(shown); }
    QString WealthCaption() const override { return views_.WealthCaption(); }
    void ShowSortButton() override { views_.ShowSortButton(); }
    void PlaceOwnBottomCard(int slot) override { views_.PlaceOwnBottomCard(slot); }
    void BringRoomStripToFront() override { views_.BringRoomStripToFront(); }
    void ShowBidButtons() override { views_.ShowBidButtons(); }
    bool LandlordBadgeVisible() const override { return views_.LandlordBadgeVisible(); }
    void ShowLandlord(int pos) override { views_.ShowLandlord(pos); }
    void FirstPlayOfHand() override { views_.FirstPlayOfHand(); }
    void ShowTurnClock(ClockKind kind, int pos, int seconds) override
    {
        views_.ShowTurnClock(kind, pos, seconds);
    }
    void ShowClockHere(int seconds) override { views_.ShowClockHere(seconds); }
    void HideCardPicture(int pos, int index) override { views_.HideCardPicture(pos, index); }
    void ShowPassPicture(int pos) override { views_.ShowPassPicture(pos); }
    void ShowOwnTurnButtons(bool lead) override { views_.ShowOwnTurnButtons(lead); }
    void ShowSeat(int pos, const SeatView &view) override { views_.ShowSeat(pos, view); }
    void EmptySeat(int pos) override { views_.EmptySeat(pos); }
    void ClearSeatMarkAndAvatar(int pos) override { views_.ClearSeatMarkAndAvatar(pos); }
    bool ReadyMarkVisible(int pos) const override { return views_.ReadyMarkVisible(pos); }
    void ShowReadyMark(int pos) override { views_.ShowReadyMark(pos); }
    bool NameShown(int pos) const override { return views_.NameShown(pos); }
    void HideSeatVideo(int pos) override { views_.HideSeatVideo(pos); }
    void ShowShowCardNote(bool shown) override { views_.ShowShowCardNote(shown); }
    void ShowWealthNotes() override { views_.ShowWealthNotes(); }
    void ShowWealth(std::int32_t value) override { views_.ShowWealth(value); }
    void HideWealth() override { views_.HideWealth(); }
    void PlaceReadyClockAndShuffle() override { views_.PlaceReadyClockAndShuffle(); }
    void HideShuffleNotice(bool stopTimer) override { views_.HideShuffleNotice(stopTimer); }
    bool ShuffleNoticeRunning() const override { return views_.ShuffleNoticeRunning(); }
    void HideAdPanel() override { views_.HideAdPanel(); }
    void ShowWebPanel(const QString &url) override { views_.ShowWebPanel(url); }
    void SetOtherExitText(const QString &text) override { views_.SetOtherExitText(text); }
    void ShowOtherExit() override { views_.ShowOtherExit(); }

    OtherExitDialog &otherExit() { return otherExit_; }

private:
    MainForm &form_;
    core::TableState &state_;
    OtherExitDialog otherExit_;
    CommandViews views_;
};

} // namespace tessaroc::table
