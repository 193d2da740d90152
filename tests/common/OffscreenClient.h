#pragma once

#include "chat/ChatService.h"
#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "core/HallService.h"
#include "core/TableState.h"
#include "items/ItemService.h"
#include "platform/Clock.h"
#include "settlement/SettlementService.h"
#include "sound/SoundService.h"
#include "table/MainForm.h"
#include "table/TableWindowService.h"
#include "wire/MsgRings.h"

#include <memory>

// The client core and the real table window, laid out offscreen, on services
// that do nothing: what the fuzz target and the benchmarks drive frames
// through. Every wait ends at once: the clock moves on by a step (a second
// unless told) at every reading.
namespace tessaroc::offscreen {

class FastClock final : public platform::Clock
{
public:
    explicit FastClock(std::int64_t stepMs = 1000)
        : step_(stepMs)
    { }
    std::int64_t nowMs() const override { return now_ += step_; }

private:
    std::int64_t step_;
    mutable std::int64_t now_ = 0;
};

struct NullServices;

class OffscreenClient
{
public:
    // Full scale unless `reduced`.
    explicit OffscreenClient(bool reduced = false);
    ~OffscreenClient();

    void dispatch(const wire::MessageFrame &frame) { dispatcher->ProcessMessage(frame); }
    // The program would have ended (own account left, a refusal...).
    bool ended() const;
    // TimerBong runs (a lost connection stops it).
    bool mainLoopRunning() const;
    // Puts the client back at the table after an ending or a forced leave, so
    // the next frame meets a running client again.
    void revive();

    core::TableState state;
    wire::MsgRings rings;
    FastClock clock;
    std::unique_ptr<NullServices> services;
    std::unique_ptr<table::MainForm> form;
    std::unique_ptr<table::TableWindowService> window;
    std::unique_ptr<core::CoreContext> context;
    std::unique_ptr<core::Dispatcher> dispatcher;

private:
    core::HallService tableHall_;
    sound::SoundService tableSound_;
    items::ItemService tableItems_;
    chat::ChatService tableChat_;
    settlement::SettlementService tableSettlement_;
};

} // namespace tessaroc::offscreen
