#include "rules/CardRulesState.h"

namespace tessaroc::rules {

void ClearHands(CardRulesState &state)
{
    for (std::size_t p = 0; p < state.HandRecords.size(); ++p) {
        HandRecord &hand = state.HandRecords[p];
        hand.cardCount = 0;
        for (int i = 0; i < 6; ++i)
            hand.slots[i].picIndex = -1;
        state.ResultScore[p] = 0;
    }
    state.UserInfoCount = 0;
    state.InGame = false;
}

void ClearHandsShort(CardRulesState &state)
{
    ClearHands(state);
}

bool Belong(const CardRulesState &state, int picIndex)
{
    if (picIndex < 0)
        return false; // -1 is "no picture", never a card
    const HandRecord &hand = state.ownHand();
    for (int i = 0; i < hand.validCount(); ++i) {
        if (hand.slots[i].picIndex == picIndex)
            return true;
    }
    return false;
}

bool HasFourJokers(const CardRulesState &state)
{
    return HasFourJokers(state.ownHand());
}

void PromptLead(CardRulesState &state)
{
    PromptLead(state.ownHand(), state.PromptLeadState, state.HintCandidates, state.HintCount);
}

void PromptBeat(CardRulesState &state, PlayKind kind, int count, const CardArray &cards)
{
    PromptBeat(state.ownHand(), kind, count, cards, state.HintCandidates, state.HintCount);
}

} // namespace tessaroc::rules
