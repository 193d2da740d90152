#include "DispatchFixture.h"

#include "app/TableWindowWiring.h"
#include "forms/Fonts.h"
#include "support/PictureIds.h"
#include "table/WindowSizing.h"

namespace tessaroc::core::test {

Client::Client(Screen screen)
{
    forms::installFontSubstitutions();
    form_ = std::make_unique<table::MainForm>(state, clock, tableHall_);
    app::ConnectTableWindow(*form_, tableSound_, tableItems_, tableChat_, tableSettlement_);
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
    context = std::make_unique<CoreContext>(CoreContext{state, rings, clock, socket, hall, timers,
                                                        *window, play, sound, items, video,
                                                        settlement, process, chat});
    dispatcher = std::make_unique<Dispatcher>(*context);
    state.loop.LoggedIn = true;
}

Client::~Client() = default;

wire::UserInfoFrame userInfo(const std::string &name, std::uint8_t seat, std::uint8_t recipient)
{
    wire::UserInfoFrame info;
    info.recipientSeat = recipient;
    info.account = name;
    info.nickname = name + "-nick";
    info.face = "m2";
    info.sex = 1;
    info.coins = 30000;
    info.title = "新手";
    info.tag = "会员";
    info.extraNumber5 = seat;
    return info;
}

void Client::seatFour(std::uint8_t own)
{
    const char *names[] = {"a", "b", "c", "d"};
    for (int i = 0; i < 4; ++i) {
        const auto bit = static_cast<std::uint8_t>(1 << i);
        dispatch(userInfo(names[i], bit, own).encode());
    }
}

} // namespace tessaroc::core::test
