#pragma once

#include <array>
#include <functional>
#include <memory>

namespace tessaroc::settlement {

class ScoreWindow;
class HeroWindow;

// The settlement's windows, the board Score and the hall of fame Hero, each
// created on first use and kept loaded, and the seats' running totals since
// the player sat down. The table window reaches them here when it clears the
// table; the settlement fills them.
class SettlementService
{
public:
    SettlementService();
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

    ScoreWindow &Score();
    HeroWindow &Hero();
    bool ScoreLoaded() const { return score_ != nullptr; }
    bool HeroLoaded() const { return hero_ != nullptr; }
    // Loaded and showing.
    bool ScoreVisible() const;
    bool HeroVisible() const;
    virtual void HideHero();

    // What a double-click on a line of the hall of fame opens: the hand of
    // that line's number.
    std::function<void(int hand)> openHand;

    // Each seat's running total (SumScore), by display position.
    std::array<double, 4> SumScore{};

private:
    std::unique_ptr<ScoreWindow> score_;
    std::unique_ptr<HeroWindow> hero_;
};

} // namespace tessaroc::settlement
