#include "OffscreenClient.h"

#include "OffscreenServices.h"

#include "forms/Fonts.h"
#include "support/PictureIds.h"
#include "table/WindowSizing.h"

namespace tessaroc::offscreen {

OffscreenClient::OffscreenClient(bool reduced)
    : services(std::make_unique<NullServices>())
{
    forms::installFontSubstitutions();
    form = std::make_unique<table::MainForm>(state, clock,
                                             table::TableServices{tableHall_, tableSound_,
                                                                  tableItems_, tableChat_,
                                                                  tableSettlement_});
    window = std::make_unique<table::TableWindowService>(*form, state);
    window->PrepareStartUp();
    window->FitToScreen(reduced ? 800 * 15.0 : 1024 * 15.0, reduced ? 600 * 15.0 : 768 * 15.0);
    support::InitPictureIds(state.pictures, state.table.scale.ScaleX);
    window->InitSeatLayout();
    window->ShowTable();
    window->InitPlayLayout();
    window->ClearTable();
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
