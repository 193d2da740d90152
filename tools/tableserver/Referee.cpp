#include "Referee.h"

#include "rules/Hints.h"
#include "rules/PrevPlay.h"
#include "rules/SortByGroup.h"

#include <algorithm>

namespace tessaroc::tableserver {

namespace {

// The hint listings read the hand from a hand record whose cards of one face
// stand side by side, as a client's sorted row does.
rules::HandRecord sortedHand(std::span<const CardCode> hand)
{
    rules::HandRecord record;
    const auto n = std::min<std::size_t>(hand.size(), rules::kMaxHandCards);
    for (std::size_t i = 0; i < n; ++i)
        record.slots[i].code = hand[i];
    std::stable_sort(record.slots.begin(), record.slots.begin() + static_cast<std::ptrdiff_t>(n),
                     [](const rules::HandSlot &a, const rules::HandSlot &b) {
                         return cardFace(a.code) < cardFace(b.code);
                     });
    record.setCardCount(static_cast<int>(n));
    return record;
}

std::vector<Play> rowsToPlays(const rules::HintTable &rows, int count)
{
    std::vector<Play> plays;
    for (int i = 1; i <= count && i <= rules::kMaxHintRows; ++i) {
        const auto &row = rows[static_cast<std::size_t>(i)];
        Play play;
        play.kind = row.kind;
        play.count = rules::clampCardCount(row.count);
        play.cards = row.cards;
        plays.push_back(play);
    }
    return plays;
}

} // namespace

Play judgePlay(std::span<const CardCode> cards)
{
    Play play;
    if (cards.empty() || cards.size() > rules::kMaxHandCards)
        return play;
    play.count = static_cast<int>(cards.size());
    std::copy(cards.begin(), cards.end(), play.cards.begin());
    rules::SortByGroup(play.cards, play.count);
    rules::JudgeResultTable judged{};
    play.kind = rules::JudgeKind(rules::KindNone, play.count, play.cards, judged);
    return play;
}

bool beats(const Play &mine, const Play &toBeat)
{
    return rules::BeatsPrevious(mine.cards, mine.count, mine.kind, toBeat.cards, toBeat.count,
                                toBeat.kind);
}

std::vector<Play> leadHints(std::span<const CardCode> hand)
{
    const auto record = sortedHand(hand);
    rules::HintTable rows{};
    std::int16_t count = 0;
    rules::PromptLead(record, false, rows, count);
    return rowsToPlays(rows, count);
}

std::vector<Play> beatHints(std::span<const CardCode> hand, const Play &toBeat)
{
    const auto record = sortedHand(hand);
    rules::HintTable rows{};
    std::int16_t count = 0;
    rules::PromptBeat(record, toBeat.kind, toBeat.count, toBeat.cards, rows, count);
    return rowsToPlays(rows, count);
}

} // namespace tessaroc::tableserver
