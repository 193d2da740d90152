#include "TableFixture.h"

#include "app/TableWindowWiring.h"
#include "forms/Fonts.h"
#include "support/PictureIds.h"

namespace tessaroc::table::test {

Table::Table(int screenWidth, int screenHeight, Stage stage)
{
    forms::installFontSubstitutions();
    form_ = std::make_unique<MainForm>(state, clock, hall);
    app::ConnectTableWindow(*form_, sound, items, chat, settlement);
    // The start-up hides the task icon for good before anything else.
    form_->area.imgRenWu.setVisible(false);
    form_->area.imgRenWu.setEnabled(false);
    sizing = SizeWindowToScreen(screenWidth * 15.0, screenHeight * 15.0);
    form_->FitToScreen(sizing);
    support::InitPictureIds(state.pictures, state.table.scale.ScaleX);
    form_->InitSeatLayout();
    if (stage == Stage::SeatLayout)
        return;
    form_->show();
    form_->InitPlayLayout();
    if (stage == Stage::Cleared)
        form_->ClearTable();
}

Table::~Table() = default;

} // namespace tessaroc::table::test
