#pragma once

#include "core/CoreContext.h"
#include "core/CoreTimers.h"
#include "core/Dispatcher.h"
#include "core/ItemSteps.h"
#include "core/ServerConnection.h"
#include "core/TickScheduler.h"
#include "core/TurnClocks.h"
#include "platform/Clock.h"
#include "wire/MsgRings.h"

#include "RecordingServices.h"

#include <QCoreApplication>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A harness that builds the client core on the recording services with a
// manual clock and manual timers, so the tests walk the main loop tick by
// tick.
namespace tessaroc::test {

using core::ExitCode;
using wire::MessageFrame;

using fakes::RecordingChat;
using fakes::RecordingHall;
using fakes::RecordingItems;
using fakes::RecordingPlay;
using fakes::RecordingProcess;
using fakes::RecordingSettlement;
using fakes::RecordingSocket;
using fakes::RecordingSound;
using fakes::RecordingVideo;
using fakes::RecordingWindow;

// The state, the rings, a manual clock, manual timers and the recording
// services the core's harnesses share; each harness builds its own context
// over them with the item library and the video it tests. The socket starts
// closed; the hall is found under the command line's caption only.
struct RecordingCore
{
    core::TableState state;
    wire::MsgRings rings;
    platform::ManualClock clock{1'000'000};
    RecordingSocket socket;
    RecordingProcess process;
    RecordingHall hall;
    core::CoreTimers timers{core::CoreTimers::Mode::Manual};
    RecordingWindow window;
    RecordingPlay play;
    RecordingSound sound;
    RecordingSettlement settlement;
    RecordingChat chat;

    RecordingCore()
    {
        socket.state = core::services::ServerSocket::sckClosed;
        hall.endWithoutHall(process, state.loop.HallCaption);
    }
};

// Records every frame handed to it; a test may give it something to do.
class RecordingDispatcher final : public core::Dispatcher
{
public:
    using core::Dispatcher::Dispatcher;
    std::vector<MessageFrame> frames;
    std::function<void(const MessageFrame &)> onFrame;
    void ProcessMessage(const MessageFrame &message) override
    {
        frames.push_back(message);
        if (onFrame)
            onFrame(message);
    }
};

inline MessageFrame frameOf(std::uint8_t cmd, std::uint8_t tag = 0)
{
    MessageFrame frame;
    frame.setCmd(cmd);
    frame.setByte(100, tag); // tells frames of one command apart
    return frame;
}

// The whole client core on recording services, a manual clock and manual
// timers. tick() moves the clock by one timer interval and runs one tick.
struct CoreHarness : RecordingCore
{
    RecordingItems items;
    RecordingVideo video;
    core::CoreContext context{state, rings, clock, socket, hall,       timers,  window,
                              play,  sound, items, video,  settlement, process, chat};
    RecordingDispatcher dispatcher{context};
    core::TurnClocks clocks{context};
    core::ItemSteps itemSteps{context, [] {
                                  return 0.6;
                              }};
    core::TickScheduler scheduler{context, timers, dispatcher, clocks, itemSteps};

    CoreHarness()
    {
        timers.setTickHandler([this] { scheduler.TimerBong_Timer(); });
        state.rules.HandRecords[0].seatBit = 4;
        state.loop.HallCaption = "Ombrevale";
    }

    void tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            clock.advance(core::CoreTimers::kTimerBongMs);
            scheduler.TimerBong_Timer();
        }
    }

    wire::ReceiveResult arrive(const std::vector<std::uint8_t> &bytes)
    {
        const wire::ReceiveResult result = wire::ReceiveIntoRing(rings, bytes);
        if (result == wire::ReceiveResult::Stored)
            core::OnReceived(context);
        return result;
    }
    wire::ReceiveResult arrive(const MessageFrame &frame)
    {
        return arrive(std::vector<std::uint8_t>(frame.bytes().begin(), frame.bytes().end()));
    }
    void queue(MessageFrame frame) { context.SendMsg(frame); }
};

// Runs `during` inside the next wait of a handler, while the manual clock is
// walked forward so that the wait ends: the way a deal animation's wait lets
// a main-loop tick and a hall request in. Every test where a handler waits
// uses it, so re-entrancy faults show.
class InsideWait
{
public:
    InsideWait(platform::ManualClock &clock, std::function<void()> during, int stepMs = 10)
        : clock_(clock)
        , during_(std::move(during))
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, stepMs] {
            if (during_) {
                auto run = std::move(during_);
                during_ = {};
                ++runs;
                run();
            }
            clock_.advance(stepMs);
        });
        timer_.start();
    }
    int runs = 0;

private:
    platform::ManualClock &clock_;
    std::function<void()> during_;
    QTimer timer_;
};

} // namespace tessaroc::test
