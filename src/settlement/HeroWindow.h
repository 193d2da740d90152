#pragma once

#include "forms/ControlArray.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/PopupWindow.h"

#include <QListWidget>

#include <array>
#include <functional>
#include <memory>

namespace tessaroc::settlement {

// The hall of fame Hero ("英雄榜"): one line per hand settled at this table
// in Num, each seat's result of that hand in Grade(p) and its running total
// in sunScore(p). Double-clicking a line opens that hand's board. Placed in
// twips, not scaled; translucent, not dragged.
class HeroWindow : public forms::PopupWindow
{
    Q_OBJECT

public:
    explicit HeroWindow(QWidget *parent = nullptr);
    ~HeroWindow() override;

    QListWidget &Num() { return *Num_; }
    QListWidget &Grade(int p) { return *Grade_[static_cast<std::size_t>(p)]; }

    // Every list scrolled so that its last line is the top line.
    void ScrollToLast();
    // The selection moves: from Num to every Grade list; from Grade(index)
    // to Num and the other Grade lists.
    void Num_Click();
    void Grade_Click(int index);
    // A double-click on a line of Num (index -1) or of Grade(index): the
    // hand of that line (its index + 1) is asked for.
    void DoubleClicked(int index);
    // Emptied: the lists, the totals, the avatars and the names.
    void Clear();

    // Asked with the hand number of a double-clicked line (0 with none
    // selected).
    std::function<void(int hand)> onOpenHand;

    forms::Label Label1;
    forms::Label Label2;
    forms::ControlArray<forms::Image> Tou;
    forms::ControlArray<forms::Label> ID;
    forms::ControlArray<forms::Label> sunScore;
    forms::ControlArray<forms::Image> Image1;

private:
    void copySelection(const QListWidget &source, QListWidget &target);
    std::unique_ptr<QListWidget> Num_;
    std::array<std::unique_ptr<QListWidget>, 4> Grade_;
};

} // namespace tessaroc::settlement
