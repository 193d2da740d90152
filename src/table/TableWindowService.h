#pragma once

#include "core/services/TableWindow.h"

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

private:
    MainForm &form_;
    core::TableState &state_;
};

} // namespace tessaroc::table
