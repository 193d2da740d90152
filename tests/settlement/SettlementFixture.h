#pragma once

#include "OffscreenClient.h"
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

struct RecordingSound final : core::services::Sound
{
    void InitSoundPaths() override { }
    QString SoundTable(int) const override { return {}; }
    void InitSound() override { }
    void StopSound() override { }
    void PlaySoundFile(const QString &path, bool) override { played.push_back(path); }
    void SetSoundVolume(int v) override { volume = v; }
    void StopMusic() override { }
    std::vector<QString> played;
    int volume = -1;
};

struct RecordingPlay final : core::services::PlayFlow
{
    void LowerOwnCard(int) override { }
    void RaiseOwnCard(int) override { }
    void JudgeChuPai() override { }
    void Pic1_KeyDown(int, int) override { }
    void Tou_Click(int) override { }
    void Tou_MouseMove(int) override { }
    void FaPai(const core::DealtHand &) override { }
    void DiPaiAnimation(int) override { }
    void SortHandByFace(int p, int n) override { sorted.emplace_back(p, n); }
    void ShowCardFace(int, int, rules::CardCode) override { }
    void ShowChuPai(const core::AnnouncedPlay &) override { }
    std::vector<std::pair<int, int>> sorted;
};

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
    RecordingSound sound;
    RecordingPlay play;
    SettlementService windows;
    QTemporaryDir dir;
    std::unique_ptr<core::CoreContext> context;
    std::unique_ptr<CoreSettlement> settlement;
};

} // namespace tessaroc::settlement::testing
