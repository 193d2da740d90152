#pragma once

#include <QString>

#include <cstdint>

namespace tessaroc::core::services {

// What the client core asks of the table window: the start-up's layout
// steps, the system lines, the turn clock's picture and seconds, the buttons
// the time-outs put away, and the window's own state. The table subsystem
// implements it on MainForm.
class TableWindow
{
public:
    virtual ~TableWindow() = default;

    // The start-up's steps on controls before the layout: the task icon
    // hidden and disabled, the second web panel and the video link control
    // hidden, the web panels' error marks cleared, the seat-shuffle display
    // stopped and hidden.
    virtual void PrepareStartUp() = 0;
    // Sizes the window and the table area to a screen given in twips, sets
    // the layout scale and prepares the small-screen surface and the bars.
    virtual void FitToScreen(double screenWidthTwips, double screenHeightTwips) = 0;
    virtual void InitSeatLayout() = 0;
    virtual void InitPlayLayout() = 0;
    virtual void ShowTable() = 0;
    virtual void SetCaption(const QString &caption) = 0;

    // Clears system line 0 or 1 and, for a text that is not empty, adds it.
    virtual void SetSystemLine(int line, const QString &text) = 0;

    virtual bool IsMinimised() const = 0;
    // Neither minimised nor maximised.
    virtual bool IsNormal() const = 0;
    virtual void Minimise() = 0;

    // The clearing before every hand, and the window's part of leaving the
    // table: system lines, seats, labels and buttons emptied.
    virtual void ClearTable() = 0;
    virtual void ResetTableView() = 0;

    // The turn clock: its seconds in red or black; the clock picture and its
    // seconds put away.
    virtual void ShowClockSeconds(int seconds, bool red) = 0;
    virtual void HideTurnClock() = 0;
    // The bid buttons btnJiaofen(0..3) hidden and disabled; the choice
    // buttons tanOperation(0..1) likewise; the play, hint and pass buttons
    // Operation(0..2) hidden.
    virtual void HideBidButtons() = 0;
    virtual void HideChoiceButtons() = 0;
    virtual void HideActionButtons() = 0;
    // Toolbar button AnNiu(button) shows ButtonPic(pictureIndex).
    virtual void SetToolbarPicture(int button, int pictureIndex) = 0;
    // The seat-shuffle display: picture and caption shown and in front, its
    // caption timer running from the first caption, the second web panel on
    // the address and in front.
    virtual void ShowSeatShuffle(const QString &firstCaption, const QString &adUrl) = 0;
    // Speech bubble Speak(pos) and the text picture words.
    virtual void HideBubble(int pos) = 0;
    virtual void HideWords() = 0;

    // The treasure-box countdown's controls: the bottom cards and the item
    // label.
    virtual bool BottomCardsVisible() const = 0;
    virtual void HideBottomCards() = 0;
    virtual void SetPropLabel(const QString &text) = 0;

    // The unload handler's last steps: every secondary window and every
    // speech-bubble window unloaded.
    virtual void UnloadWindows() = 0;

    // --- What the server's commands show -----------------------------------
    // Seats are display positions, 0 the own seat; a position outside 0..3
    // changes nothing.

    // The window back to its normal size, with the focus.
    virtual void RestoreAndFocus() = 0;
    // The leave dialog frmExit unloaded when it shows.
    virtual void CloseLeaveDialog() = 0;
    virtual void HideReadyMarks() = 0;
    // The shown-card multiplier beside its icon, or (0) the room's rule
    // notes in its place.
    virtual void ShowShowCardDouble(int value) = 0;
    // The wealth icon and label shown or hidden as they stand; the label's
    // caption.
    virtual void SetWealthShown(bool shown) = 0;
    virtual QString WealthCaption() const = 0;
    virtual void ShowSortButton() = 0;
    // Own card picture `slot` (25..32) laid out as a bottom card at the end
    // of the own row, shown and in front.
    virtual void PlaceOwnBottomCard(int slot) = 0;
    // The room strip, room text, the two chat buttons and the bank icon in
    // front of the bottom cards.
    virtual void BringRoomStripToFront() = 0;

    virtual void ShowBidButtons() = 0;
    virtual bool LandlordBadgeVisible() const = 0;
    // The landlord badge at the landlord's seat with its animation started;
    // another seat's fan shows its 33 backs.
    virtual void ShowLandlord(int pos) = 0;
    // The first play of a hand: the cards turned up at the deal go, and a
    // shown landlord badge starts its animation again.
    virtual void FirstPlayOfHand() = 0;

    // The turn clock moved to a seat and shown with its seconds; the own
    // seat's clock comes to the front.
    enum class ClockKind { Bid, Play };
    virtual void ShowTurnClock(ClockKind kind, int pos, int seconds) = 0;
    // The clock shown where it stands, as the ready clock.
    virtual void ShowClockHere(int seconds) = 0;

    // Card picture `index` (0..32) of a seat's row hidden and sent to the
    // back.
    virtual void HideCardPicture(int pos, int index) = 0;
    // The pass picture of seat 1..3 in its bubble.
    virtual void ShowPassPicture(int pos) = 0;
    // The own action buttons: play and hint when the own seat leads, else
    // play, hint and pass.
    virtual void ShowOwnTurnButtons(bool lead) = 0;

    // A seated user: ready mark, avatar and the three seat captions.
    struct SeatView
    {
        int avatar = 0; // 0..19
        int readyLevel = 0; // 0..2
        bool ready = false;
        QString name;
        QString cash;
        QString level;
    };
    virtual void ShowSeat(int pos, const SeatView &view) = 0;
    // Ready mark hidden, avatar emptied and the three captions emptied.
    virtual void EmptySeat(int pos) = 0;
    // Ready mark hidden and avatar emptied only.
    virtual void ClearSeatMarkAndAvatar(int pos) = 0;
    virtual bool ReadyMarkVisible(int pos) const = 0;
    virtual void ShowReadyMark(int pos) = 0;
    // The seat's name caption is not empty.
    virtual bool NameShown(int pos) const = 0;
    virtual void HideSeatVideo(int pos) = 0;

    // The room's show-card note, the two wealth notes, and the wealth label
    // with a value at the place for its size.
    virtual void ShowShowCardNote(bool shown) = 0;
    virtual void ShowWealthNotes() = 0;
    virtual void ShowWealth(std::int32_t value) = 0;
    virtual void HideWealth() = 0;

    // The clock, the shuffle notice and the second web panel laid out beside
    // the wealth icon for the ready time.
    virtual void PlaceReadyClockAndShuffle() = 0;
    // The shuffle caption and picture hidden; with stopTimer its caption
    // timer stops too.
    virtual void HideShuffleNotice(bool stopTimer) = 0;
    // The shuffle caption shows or its timer runs.
    virtual bool ShuffleNoticeRunning() const = 0;
    virtual void HideAdPanel() = 0;
    // The first web panel on the room's page, shown.
    virtual void ShowWebPanel(const QString &url) = 0;

    // The notice dialog frmOtherExit: its text, and the dialog shown
    // top-most over the table.
    virtual void SetOtherExitText(const QString &text) = 0;
    virtual void ShowOtherExit() = 0;
};

} // namespace tessaroc::core::services
