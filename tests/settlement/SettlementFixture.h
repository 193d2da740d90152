#pragma once

#include "OffscreenClient.h"
#include "RecordingServices.h"

#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "settlement/CoreSettlement.h"
#include "settlement/HeroWindow.h"
#include "settlement/ScoreWindow.h"
#include "settlement/SettlementService.h"
#include "wire/ReceivedFrames.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tessaroc::settlement::testing {

// One seat's result as a test writes it; the seat bits 1, 2, 4, 8 are the
// display positions 0..3 (the own seat is 1).
struct SeatLine
{
    std::uint8_t seat = 1;
    std::uint8_t outcome = 0;
    std::uint64_t finalAmount = 0;
    std::uint8_t landlord = 0;
    std::uint8_t sign1 = 0;
    std::uint64_t amount1 = 0;
    std::uint64_t amount2 = 0;
    std::uint8_t level = 0;
    std::uint8_t cashUnit = 1;
    bool capped = false;
};

wire::MessageFrame resultFrame(const SeatLine &line, std::int32_t stake = 100);

// The settlement on the real table window, offscreen, with the records file
// in a folder of its own and recording sound and play flow.
class SettlementFixture : public ::testing::Test
{
protected:
    SettlementFixture();
    ~SettlementFixture() override;

    core::TableState &state() { return client.state; }
    ScoreWindow &score() { return windows.Score(); }
    HeroWindow &hero() { return windows.Hero(); }
    QStringList lines(int list) const;
    QStringList heroLines(int grade) const; // -1: Num
    // As the dispatcher hands a result frame on: the lists emptied, then the
    // frame to the board.
    void deliver(const wire::MessageFrame &frame, bool variant = false);
    void deliverAll(const std::vector<wire::MessageFrame> &frames, bool variant = false);
    void seatPlayers(double coins = 1000);

    offscreen::OffscreenClient client;
    fakes::RecordingSound sound;
    fakes::RecordingPlay play;
    SettlementService windows;
    QTemporaryDir dir;
    std::unique_ptr<core::CoreContext> context;
    std::unique_ptr<CoreSettlement> settlement;
};

} // namespace tessaroc::settlement::testing
