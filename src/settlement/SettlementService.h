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
};

} // namespace tessaroc::settlement
