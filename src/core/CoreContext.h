#pragma once

#include "core/SlotControl.h"
#include "core/TableState.h"
#include "core/services/Chat.h"
#include "core/services/HallWindow.h"
#include "core/services/ItemLibrary.h"
#include "core/services/MainLoopControl.h"
#include "core/services/PlayFlow.h"
#include "core/services/Process.h"
#include "core/services/ServerSocket.h"
#include "core/services/Settlement.h"
#include "core/services/Sound.h"
#include "core/services/TableWindow.h"
#include "core/services/Video.h"
#include "platform/Clock.h"
#include "wire/MsgRings.h"

namespace tessaroc::core {

// Everything the client core works on: the shared state, the rings, the
// clock, and the services of the other subsystems and of the platform. The
// program builds one and hands it by reference to the main loop, the clocks,
// the hall link, the dispatcher and its handlers; tests build one on
// recording services.
struct CoreContext
{
    TableState &state;
    wire::MsgRings &rings;
    const platform::Clock &clock;
    services::ServerSocket &socket;
    services::HallWindow &hall;
    services::MainLoopControl &timers;
    services::TableWindow &window;
    services::PlayFlow &play;
    services::Sound &sound;
    services::ItemLibrary &items;
    services::Video &video;
    services::Settlement &settlement;
    services::Process &process;
    services::Chat &chat;

    MainLoopState &loop() { return state.loop; }
    // The other subsystems' way to the main loop's slots.
    SlotControl slotControl() { return SlotControl(state.loop); }
    std::uint8_t ownSeatBit() const { return state.rules.HandRecords[0].seatBit; }
    // SendMsg: queues the frame for the send slot and arms it, after a
    // refused frame too (the frames that wait still go); an empty chat line
    // queues nothing and arms nothing.
    wire::SendResult SendMsg(wire::MessageFrame &frame)
    {
        const wire::SendResult result = wire::SendMsg(rings, frame);
        if (result != wire::SendResult::EmptyChat)
            state.loop.slots.arm(LoopSlot::Send);
        return result;
    }
};

} // namespace tessaroc::core
