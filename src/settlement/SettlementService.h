#pragma once

namespace tessaroc::settlement {

// What the table clearing asks of the settlement's windows, the settlement
// display Score and the hall of fame Hero. The windows are not built yet, so
// these change nothing on screen.
class SettlementService
{
public:
    virtual ~SettlementService();

    // Empties the running-total labels sunScore(0..3) of the hall of fame.
    virtual void ClearHeroTotals();
    // Gives the rows State(0..7) and the names ID(0..3) of the settlement
    // display their blue text colour again.
    virtual void ResetScoreColours();
    virtual void HideScore();
    // Leaving the table: the hall of fame Hero and the settlement display
    // Score emptied (avatars, names, lists) and hidden, the running totals
    // SumScore(0..3) back to 0.
    virtual void ResetRecords();
};

} // namespace tessaroc::settlement
