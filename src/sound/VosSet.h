#pragma once

#include "forms/ControlArray.h"
#include "forms/Image.h"
#include "forms/PopupWindow.h"

#include <QString>

#include <array>

namespace tessaroc::core {
struct TableState;
}

namespace tessaroc::sound {

class SoundService;

// What the sound settings reach outside the sound: the table's background
// and the item library.
class VosSetHost
{
public:
    virtual ~VosSetHost();
    // Paints the table area from the blue or the green table picture and
    // puts it behind the other windowed controls.
    virtual void redrawTable(bool blue) = 0;
    // Tells the running item library the state of the game sounds.
    virtual void reportSoundState(bool effectsOn) = 0;
};

// The sound settings window: four rows that switch the background loop, the
// game sounds, the chat voices and the table colour. Every switch acts the
// moment it is pressed; OK keeps what was switched, Cancel switches back every
// row that was switched an odd number of times since the last OK or Cancel.
// Each row's button shows what a press would do, not the current state.
class VosSet : public forms::PopupWindow
{
    Q_OBJECT

public:
    // The rows.
    enum Row : int { Music = 0, Effects = 1, Voice = 2, Colour = 3 };
    static constexpr int kRows = 4;

    // Creates and loads the window (Form_Load). ownRecordText is the own
    // player's record text from the user information (bytes 210 to 217),
    // which picks the colour button's first picture: "00" offers blue.
    VosSet(core::TableState &state, SoundService &sound, VosSetHost &host,
           const QString &ownRecordText, QWidget *parent = nullptr);

    void Command2_Click(int Index);
    // 0 OK, 1 Cancel.
    void Command1_Click(int Index);

    // The row labels, the switch buttons, OK and Cancel.
    forms::ControlArray<forms::Image> Image1;
    forms::ControlArray<forms::Image> Command2;
    forms::ControlArray<forms::Image> Command1;
    // Per row: switched an odd number of times since the last OK or Cancel.
    std::array<bool, kRows> RowPending{};

private:
    core::TableState &state_;
    SoundService &sound_;
    VosSetHost &host_;

    void Form_Load(const QString &ownRecordText);
    // Switches a row and shows the button for the new state; Cancel uses the
    // same steps to switch a pending row back.
    void switchRow(int row);
    void showButton(int row);
    void setButtonPicture(int row, int dialogPicture);
    bool fullScale() const;
};

} // namespace tessaroc::sound
