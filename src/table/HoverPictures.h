#pragma once

#include "table/Information.h"

#include <QObject>

#include <cstdint>
#include <memory>

namespace tessaroc::core {
struct TableState;
}
namespace tessaroc::platform {
class Clock;
}

namespace tessaroc::table {

class MainForm;

// The window's place and size in twips, 32-bit wide, so a window on a second
// screen far to the right is still placed where it is.
struct TwipsPoint
{
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The picture buttons' hover pictures, the tooltips of the two multipliers,
// the player card and the task window's hover. A button's pointer-move loads
// its hover picture once and sets its flag; the window reports no leaving, so
// the surfaces around the buttons (the table area, the bottom bar, the top
// bar, the room strip) put the normal pictures back on the buttons of their
// set, and hide the player card and the task window.
class HoverPictures : public QObject
{
    Q_OBJECT

public:
    HoverPictures(MainForm &form, core::TableState &state, const platform::Clock &clock);
    ~HoverPictures() override;

    // Hover handlers; none reads the button, shift or position.
    void AnNiu_MouseMove(int index);
    void Operation_MouseMove(int index);
    void btnJiaofen_MouseMove(int index);
    void tanOperation_MouseMove(int index);
    void imgRenWu_MouseMove();
    void imgword1_MouseMove();
    void imgword2_MouseMove();
    void Bank_MouseMove();

    // The surfaces that take the hover pictures back.
    void Pic1_MouseMove();
    void imgDilan_MouseMove();
    void imgDinglan_MouseMove();
    void imgLocation_MouseMove();

    // The multipliers' tooltips follow their values.
    void imgBeishu1_MouseMove();
    void Imgwealth_MouseMove();

    // The player card of a display position (avatar, name, coins or level);
    // the item library may call it with a seat 0..3.
    void Tou_MouseMove(int pos);

    // The player card window, created on first reference.
    Information &information();
    bool informationLoaded() const { return information_ != nullptr; }
    // Hidden while loaded; destroyed (the auto mode's F1 does so).
    void HideInformation();
    void UnloadInformation() { information_.reset(); }

    // The task window flies from its place to the task icon and shrinks on
    // the way, then hides; both points are screen twips.
    void MingXiFlyAnimation(TwipsPoint from, TwipsPoint to);
    // Where it flies: the task icon at the bottom of the table window.
    TwipsPoint MingXiFlyTarget() const;

private:
    MainForm &form_;
    core::TableState &state_;
    const platform::Clock &clock_;
    std::unique_ptr<Information> information_;

    void connectHandlers();
    int toolbarNormalPicture(int index) const;
    int toolbarHoverPicture(int index) const;
    void restoreButtonsAndCard(); // table-area steps 3 to 6
    void hideCardAndTask(); // steps 5 and 6
    void restoreBank();
};

// A number of the player card as decimal text in general format: no leading
// blank, no thousands separators, up to 15 significant digits and no decimal
// point for a whole value.
QString GeneralNumber(double value);

} // namespace tessaroc::table
