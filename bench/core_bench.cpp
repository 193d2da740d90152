// The cost of the main loop's tick on recording services: with nothing to do
// (the idle table: a connected client between hands, receive slot and
// connection watch armed), and with one frame each way.

#include "CoreHarness.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace tessaroc;

std::unique_ptr<test::CoreHarness> idleTable()
{
    auto h = std::make_unique<test::CoreHarness>();
    h->socket.state = core::services::ServerSocket::sckConnected;
    h->state.loop.LoggedIn = true;
    h->state.loop.slots.arm(core::LoopSlot::Receive);
    h->state.loop.slots.arm(core::LoopSlot::ConnWatch);
    h->timers.StartTimerBong();
    return h;
}

void BM_IdleTick(benchmark::State &state)
{
    auto h = idleTable();
    for (auto _ : state) {
        h->clock.advance(50);
        h->scheduler.TimerBong_Timer();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IdleTick);

void BM_TickWithAFrameEachWay(benchmark::State &state)
{
    auto h = idleTable();
    wire::MessageFrame frame;
    frame.setCmd(wire::CmdPlayed);
    const std::vector<std::uint8_t> bytes(frame.bytes().begin(), frame.bytes().end());
    for (auto _ : state) {
        h->arrive(bytes);
        wire::MessageFrame out = wire::MessageFrame();
        out.setCmd(wire::CmdKeepAlive);
        h->queue(out);
        h->clock.advance(50);
        h->scheduler.TimerBong_Timer();
        h->clock.advance(50);
        h->scheduler.TimerBong_Timer();
        h->socket.sent.clear();
        h->socket.calls.clear();
        h->dispatcher.frames.clear();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TickWithAFrameEachWay);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
