#pragma once

#include "core/services/Settlement.h"

namespace tessaroc::core {
struct TableState;
}

namespace tessaroc::settlement {

// The settlement as the client core reaches it: the result frames of a hand,
// the held-back settlement display (only ever with the item library, which
// stays off), the names of the score board and the hall of fame, and the
// hand-records file "info.qn" beside the program, deleted when the table is
// left.
class CoreSettlement final : public core::services::Settlement
{
public:
    explicit CoreSettlement(core::TableState &state)
        : state_(state)
    { }

    void ShowScoreXi(const wire::MessageFrame &) override { }
    void DeleteHandRecords() override;
    void ShowScore(const wire::MessageFrame &frame) override;
    void ClearScoreLists() override;
    void SetSeat(int pos, const QString &nickname, int avatar) override;
    void EmptySeat(int pos) override;
    void ShowScoreWindow() override;
    void ShowHero() override;

private:
    core::TableState &state_;
    int resultFrames_ = 0; // result frames of the hand so far
};

} // namespace tessaroc::settlement
