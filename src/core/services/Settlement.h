#pragma once

#include "wire/MessageFrame.h"

#include <QString>

namespace tessaroc::core::services {

// What the client core asks of the settlement.
class Settlement
{
public:
    virtual ~Settlement() = default;

    // The settlement display of a result frame held back for the item
    // library.
    virtual void ShowScoreXi(const wire::MessageFrame &frame) = 0;
    // The hand-records file is deleted when the table is left.
    virtual void DeleteHandRecords() = 0;
    // The result frames collected so far dropped: a hand whose results
    // stopped short (the table was left or started over, a new hand was
    // dealt) never mixes its frames into the next hand's board. A lost
    // connection that is resumed keeps them: the rest of the set follows.
    virtual void DropResultFrames() { }

    // One of the four result frames of a hand; the fourth shows the result
    // and starts the ready clock.
    virtual void ShowScore(const wire::MessageFrame &frame) = 0;
    // The score board's rows State(0..7) emptied.
    virtual void ClearScoreLists() = 0;
    // A seated user's nickname and avatar on the score board and the hall of
    // fame, or emptied.
    virtual void SetSeat(int pos, const QString &nickname, int avatar) = 0;
    virtual void EmptySeat(int pos) = 0;
    // Centred over the table and shown, not modal.
    virtual void ShowScoreWindow() = 0;
    virtual void ShowHero() = 0;
};

} // namespace tessaroc::core::services
