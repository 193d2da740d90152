#pragma once

#include <QString>

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
};

} // namespace tessaroc::core::services
