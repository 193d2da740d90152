#pragma once

#include "forms/ControlArray.h"
#include "forms/Label.h"
#include "forms/PopupWindow.h"

namespace tessaroc::table {

// The player card: a small window with nine rows, a title on the left and the
// seat's value in Inf(0..8) on the right. The table places it beside the seat
// under the pointer and fills the values (HoverPictures::Tou_MouseMove); the
// window's own set-up (size, background, the row titles and their fonts) is
// in designRows.
class Information : public forms::PopupWindow
{
    Q_OBJECT

public:
    static constexpr int kRows = 9;

    explicit Information(QWidget *parent = nullptr);

    // The top of row 0..8 in twips.
    static double rowTopTwips(int row);

    forms::ControlArray<forms::Label> Title; // the row titles 0..8
    forms::ControlArray<forms::Label> Inf; // the values 0..8

private:
    void designRows();
    void Form_Load();
};

} // namespace tessaroc::table
