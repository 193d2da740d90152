#include "rules/JudgeChuPai.h"

#include "rules/SortByGroup.h"

namespace tessaroc::rules {

namespace {

// The raised cards in slot order, with their pictures and slots.
struct Selection
{
    int n = 0;
    std::array<PlayedCard, kMaxHandCards> played{};
};

Selection collectRaised(const HandRecord &hand, const OwnPlayInput &input)
{
    Selection sel;
    for (int i = 0; i < hand.validCount(); ++i) {
        if (input.raised[i]) {
            const HandSlot &slot = hand.slots[i];
            sel.played[sel.n++] = {slot.code, slot.picIndex, static_cast<std::int16_t>(i)};
        }
    }
    return sel;
}

// Judging reads only faces, so the working copy of the raised cards carries
// each card's place in the selection in the byte of the code that nothing
// reads (bits 16-23). The judged order then leads straight back to each
// card's own slot and picture, even for two equal codes.
CardCode tagged(CardCode code, int place)
{
    return static_cast<CardCode>((static_cast<std::uint32_t>(code) & 0xFF00FFFFu)
                                 | (static_cast<std::uint32_t>(place) << 16));
}
int placeOf(CardCode code)
{
    return static_cast<int>((static_cast<std::uint32_t>(code) >> 16) & 0xFFu);
}

} // namespace

OwnPlayDecision JudgeChuPai(const CardRulesState &state, const OwnPlayInput &input)
{
    const HandRecord &hand = state.ownHand();
    const PrevPlay &prev = state.prevPlay;
    OwnPlayDecision decision;

    const Selection sel = collectRaised(hand, input);
    if (sel.n == 0) {
        if (prev.kind == KindNone)
            return decision;
        decision.outcome = OwnPlayOutcome::Pass;
        decision.sendFrame = input.maySendPlay;
        return decision;
    }

    CardArray judged{};
    for (int k = 0; k < sel.n; ++k)
        judged[k] = tagged(sel.played[k].code, k);
    SortByGroup(judged, sel.n);
    JudgeResultTable judgeResult{};
    PlayKind kind = JudgeKind(prev.kind, sel.n, judged, judgeResult);
    if (kind == KindPlaneWithPairsAlt)
        kind = KindPlaneWithPairs;
    decision.kind = kind;
    decision.count = static_cast<std::int16_t>(sel.n);
    if (kind == KindNone) {
        decision.outcome = OwnPlayOutcome::IllegalKind;
        return decision;
    }
    for (int j = 0; j < sel.n; ++j)
        decision.realOrder[j] = sel.played[placeOf(judged[j])];

    const bool beats = BeatsPrevious(judged, sel.n, kind, prev.cards, prev.validCount(), prev.kind);
    if (!beats && prev.kind != KindNone) {
        decision.outcome = OwnPlayOutcome::DoesNotBeat;
        return decision;
    }

    if (!input.maySendPlay) {
        decision.outcome = OwnPlayOutcome::AcceptedNotSent;
        return decision;
    }

    decision.outcome = OwnPlayOutcome::Sent;
    decision.sendFrame = true;
    decision.newPrevPlay.kind = kind;
    decision.newPrevPlay.count = static_cast<std::int16_t>(sel.n);
    for (int j = 0; j < sel.n; ++j)
        decision.newPrevPlay.cards[j] = faceAndSuit(judged[j]);
    decision.emptiesHand = hand.validCount() == sel.n;
    return decision;
}

std::array<std::uint8_t, kMaxHandCards> OwnPlayDecision::judgedIds() const
{
    std::array<std::uint8_t, kMaxHandCards> ids{};
    const int n = clampCardCount(count);
    for (int j = 0; j < n; ++j)
        ids[j] = static_cast<std::uint8_t>(cardId(realOrder[j].code));
    return ids;
}

void ApplyOwnPlay(CardRulesState &state, bool &maySendPlay, const OwnPlayDecision &decision)
{
    switch (decision.outcome) {
    case OwnPlayOutcome::Nothing:
    case OwnPlayOutcome::Pass:
        return;
    case OwnPlayOutcome::IllegalKind:
        state.JudgeResult[0] = KindNone;
        return;
    case OwnPlayOutcome::DoesNotBeat:
    case OwnPlayOutcome::AcceptedNotSent:
    case OwnPlayOutcome::Sent:
        break;
    }

    const int n = clampCardCount(decision.count);
    state.JudgeResult[0] = decision.kind;
    for (int j = 0; j < n; ++j)
        state.JudgeResult[kJudgeResultCards + j] = decision.realOrder[j].code;
    if (decision.outcome != OwnPlayOutcome::Sent)
        return;

    maySendPlay = false;
    state.prevPlay = decision.newPrevPlay;

    HandRecord &hand = state.ownHand();
    std::array<bool, kMaxHandCards> leaves{};
    for (int j = 0; j < n; ++j) {
        if (decision.realOrder[j].slot >= 0 && decision.realOrder[j].slot < kMaxHandCards)
            leaves[decision.realOrder[j].slot] = true;
    }
    int kept = 0;
    for (int i = 0; i < hand.validCount(); ++i) {
        if (!leaves[i])
            hand.slots[kept++] = hand.slots[i];
    }
    hand.setCardCount(kept);
}

} // namespace tessaroc::rules
