#pragma once

#include "FlagTimers.h"
#include "NullServices.h"

#include "core/services/HallWindow.h"
#include "core/services/Process.h"
#include "core/services/ServerSocket.h"

// The services of the offscreen clients that do nothing: a socket that always
// stands, a hall that is always there, the main loop's timers as flags, a
// process that only notes that it would have ended, and null subsystems.
namespace tessaroc::offscreen {

struct NullServices
{
    struct Socket : core::services::ServerSocket
    {
        int State() const override { return state; }
        bool SendData(const wire::MessageFrame &) override { return state == sckConnected; }
        void Close() override { state = sckClosed; }
        void Connect(const QString &, quint16) override { state = sckConnected; }
        bool ConnectToSock5Server(const wire::CommandLine &) override { return false; }
        int state = sckConnected;
    } socket;
    struct Hall : core::services::HallWindow
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
    struct NullProcess : core::services::Process
    {
        void MessageBox(const QString &, const QString &) override { }
        void End(core::ExitCode) override { ended = true; }
        bool ended = false;
    } process;
    fakes::NullChat chat;
};

} // namespace tessaroc::offscreen
