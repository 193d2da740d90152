#include "DispatchFixture.h"

#include "forms/Fonts.h"
#include "support/PictureIds.h"
#include "table/WindowSizing.h"

namespace tessaroc::core::test {

Client::Client(Screen screen)
{
    fakes::joinLog(log, socket, hall, play, items, settlement, process);
    forms::installFontSubstitutions();
    form_ = std::make_unique<table::MainForm>(state, clock,
                                              table::TableServices{tableHall_, tableSound_,
                                                                   tableItems_, tableChat_,
                                                                   tableSettlement_});
    const bool full = screen == Screen::Full;
    form_->FitToScreen(table::SizeWindowToScreen(full ? 1024 * 15.0 : 800 * 15.0,
                                                 full ? 768 * 15.0 : 600 * 15.0));
    support::InitPictureIds(state.pictures, state.table.scale.ScaleX);
    form_->InitSeatLayout();
    form_->show();
    form_->InitPlayLayout();
    form_->ClearTable();

    views_ = std::make_unique<table::CommandViews>(*form_, state, otherExit_);
    window = std::make_unique<TestTableWindow>(*form_, *views_);
    context = std::make_unique<CoreContext>(makeContext(state, rings, clock, *window));
    dispatcher = std::make_unique<Dispatcher>(*context);
    state.loop.LoggedIn = true;
}

Client::~Client() = default;

void Client::seatFour(std::uint8_t own)
{
    for (const wire::MessageFrame &frame : frames::fourSeated(own))
        dispatch(frame);
}

} // namespace tessaroc::core::test
