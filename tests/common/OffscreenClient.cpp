#include "OffscreenClient.h"

#include "OffscreenServices.h"
#include "TableLayout.h"

#include "app/TableWindowWiring.h"
#include "forms/Fonts.h"
#include "table/WindowSizing.h"

namespace tessaroc::offscreen {

OffscreenClient::OffscreenClient(bool reduced)
    : services(std::make_unique<NullServices>())
{
    forms::installFontSubstitutions();
    form = std::make_unique<table::MainForm>(state, clock, tableHall_);
    app::ConnectTableWindow(*form, tableSound_, tableItems_, tableChat_, tableSettlement_);
    window = std::make_unique<table::TableWindowService>(*form, state);
    tessaroc::test::layOutTable(*window, state, reduced);
    NullServices &s = *services;
    context = std::make_unique<core::CoreContext>(
            core::CoreContext{state, rings, clock, s.socket, s.hall, s.timers, *window, s.play,
                              s.sound, s.items, s.video, s.settlement, s.process, s.chat});
    dispatcher = std::make_unique<core::Dispatcher>(*context);
}

OffscreenClient::~OffscreenClient() = default;

bool OffscreenClient::ended() const
{
    return services->process.ended;
}

bool OffscreenClient::mainLoopRunning() const
{
    return services->timers.bong;
}

void OffscreenClient::revive()
{
    services->process.ended = false;
    services->timers.bong = true;
    services->socket.state = core::services::ServerSocket::sckConnected;
}

} // namespace tessaroc::offscreen
