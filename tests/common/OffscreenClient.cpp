#include "OffscreenClient.h"

#include "FlagTimers.h"
#include "NullServices.h"

#include "forms/Fonts.h"
#include "support/PictureIds.h"
#include "table/WindowSizing.h"

namespace tessaroc::offscreen {

using namespace core::services;

struct NullServices
{
    struct Socket : ServerSocket
    {
        int State() const override { return state; }
        bool SendData(const wire::MessageFrame &) override { return state == sckConnected; }
        void Close() override { state = sckClosed; }
        void Connect(const QString &, quint16) override { state = sckConnected; }
        bool ConnectToSock5Server(const wire::CommandLine &) override { return false; }
        int state = sckConnected;
    } socket;
    struct Hall : HallWindow
    {
        bool FindHall() override { return true; }
        bool RestoreHall() override { return true; }
        bool MinimiseHall() override { return true; }
        void PostToHall(std::uint32_t) override { }
    } hall;
    fakes::FlagTimers timers;
    fakes::NullPlay play;
    fakes::NullSound sound;
    fakes::NullItems items;
    fakes::NullVideo video;
    fakes::NullSettlement settlement;
    struct NullProcess : Process
    {
        void MessageBox(const QString &, const QString &) override { }
        void End(core::ExitCode) override { ended = true; }
        bool ended = false;
    } process;
    fakes::NullChat chat;
};

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
    services->socket.state = ServerSocket::sckConnected;
}

} // namespace tessaroc::offscreen
