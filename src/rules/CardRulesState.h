#pragma once

#include "rules/HandRecord.h"
#include "rules/Hints.h"
#include "rules/PlayKind.h"
#include "rules/PrevPlay.h"

#include <array>
#include <cstdint>

namespace tessaroc::rules {

// The rules' shared tables. The client's table state holds one of these and
// passes it by reference; nothing in the rules keeps state of its own.
struct CardRulesState
{
    std::array<HandRecord, 4> HandRecords{}; // by display position, 0 = own seat
    PrevPlay prevPlay{}; // the play to beat
    JudgeResultTable JudgeResult{}; // the last own play judged
    HintTable HintCandidates{}; // rows 1 to HintCount
    std::int16_t HintCount = 0;
    bool PromptLeadState = false; // set: leading hints end after the triples
    std::array<double, 4> ResultScore{}; // the hand's result per display position
    std::int16_t UserInfoCount = 0; // user-information frames since the last reset
    bool InGame = false; // a hand is in progress

    HandRecord &ownHand() { return HandRecords[0]; }
    const HandRecord &ownHand() const { return HandRecords[0]; }

    bool operator==(const CardRulesState &) const = default;
};

// Empties all four hands for the coming hand and clears the hand's result,
// the user-information count and the in-game flag. Names, seat bits, row
// origins and slot codes stay; only the first six slots lose their picture.
void ClearHands(CardRulesState &state);
// The same reset, under the name the ready clock's time-out uses.
void ClearHandsShort(CardRulesState &state);

// Whether the own-row picture with this index shows a card of the own hand.
bool Belong(const CardRulesState &state, int picIndex);

bool HasFourJokers(const CardRulesState &state);
void PromptLead(CardRulesState &state);
void PromptBeat(CardRulesState &state, PlayKind kind, int count, const CardArray &cards);

} // namespace tessaroc::rules
