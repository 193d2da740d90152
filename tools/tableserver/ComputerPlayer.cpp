#include "ComputerPlayer.h"

#include <array>

namespace tessaroc::tableserver::bot {

bool wantsToCall(std::span<const CardCode> hand)
{
    std::array<int, rules::kFaceSlots> count{};
    for (const CardCode card : hand) {
        const int face = cardFace(card);
        if (rules::isValidFace(face))
            ++count[static_cast<std::size_t>(face)];
    }
    int bombs = 0;
    for (int face = rules::kLowestFace; face <= rules::kFaceTwo; ++face)
        bombs += count[static_cast<std::size_t>(face)] >= 4 ? 1 : 0;
    const int high
            = count[rules::kFaceTwo] + count[rules::kFaceSmallJoker] + count[rules::kFaceBigJoker];
    return bombs >= 2 || high >= 5;
}

std::optional<Play> lead(std::span<const CardCode> hand)
{
    for (const Play &hint : leadHints(hand)) {
        const Play judged = judgePlay(hint.view());
        if (judged.kind != rules::KindNone)
            return judged;
    }
    if (hand.empty())
        return std::nullopt;
    // Every non-empty hand lists at least one group; a single card is the
    // answer that can never be wrong.
    return judgePlay(hand.first(1));
}

std::optional<Play> follow(std::span<const CardCode> hand, const Play &toBeat,
                           bool toBeatIsPartners)
{
    if (toBeatIsPartners)
        return std::nullopt;
    std::optional<Play> bomb;
    for (const Play &hint : beatHints(hand, toBeat)) {
        const Play judged = judgePlay(hint.view());
        if (judged.kind == rules::KindNone || !beats(judged, toBeat))
            continue;
        if (!judged.isBomb())
            return judged;
        if (!bomb)
            bomb = judged;
    }
    return bomb;
}

} // namespace tessaroc::tableserver::bot
