#pragma once

#include "forms/ControlArray.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/PopupWindow.h"

#include <QListWidget>

#include <array>
#include <memory>

namespace tessaroc::settlement {

// The settlement board Score ("战绩板"): per display position an avatar
// Tou(p), a name ID(p), the board lines State(p) and the final line
// State(p + 4); two close pictures Image1(0..1). Placed in twips, not scaled;
// translucent and dragged by its client area.
class ScoreWindow : public forms::PopupWindow
{
    Q_OBJECT

public:
    explicit ScoreWindow(QWidget *parent = nullptr);
    ~ScoreWindow() override;

    QListWidget &State(int index) { return *State_[static_cast<std::size_t>(index)]; }
    const QListWidget &State(int index) const { return *State_[static_cast<std::size_t>(index)]; }
    // The text colour of a board list (and of the lists and name that follow
    // it), as a 0x00BBGGRR value.
    int StateColour(int index) const;
    void setStateColour(int index, int bgr);
    // State(p), State(p + 4) and ID(p) in one colour.
    void setSeatColour(int pos, int bgr);

    // The lists emptied, as every result frame does.
    void ClearLists();

    // A click or scroll in list `index`: its line and top line copied to the
    // main lists before it and after it.
    void State_Click(int index);

    forms::ControlArray<forms::Image> Tou;
    forms::ControlArray<forms::Label> ID;
    forms::ControlArray<forms::Image> Image1;

private:
    std::array<std::unique_ptr<QListWidget>, 8> State_;
    std::array<int, 8> colours_{};
};

// Qt's colour of a 0x00BBGGRR value.
QColor ColourOfBgr(int bgr);

} // namespace tessaroc::settlement
