#include "play/PlayedCardsAnimation.h"

#include "core/TableState.h"
#include "support/CardRow.h"
#include "support/Waits.h"
#include "table/MainForm.h"

#include <cmath>
#include <vector>

namespace tessaroc::play {

namespace {

constexpr std::int16_t kPauseMs = 4;
// A cycle cap far beyond any real play, so that a picture pushed back down
// by something running inside a pause cannot keep the loop going for ever.
constexpr int kMaxCycles = 10000;

// The pictures in the order they are taken; the first card of the play is
// `reference`.
void animate(const std::vector<forms::Image *> &sequence, forms::Image *reference, int n, int pos,
             const core::TableState &state, const platform::Clock &clock)
{
    if (!reference)
        return;
    const float scaleX = state.table.scale.ScaleX;
    const float scaleY = state.table.scale.ScaleY;
    const double refTop = std::nearbyint(reference->Top() - support::kSlideIn * scaleY);
    const double d = n > 5 ? 12 : 8;
    const support::PlayedCards &look = support::kPlayedCards[static_cast<std::size_t>(pos)];
    // The pictures travel toward their places, against the side they start on.
    const int direction = -look.from;
    const double width = std::nearbyint(look.width * scaleX);
    const double height = std::nearbyint(look.height * scaleY);
    const auto step = [&](forms::Image *picture) {
        if (!picture)
            return;
        picture->setVisible(true);
        picture->Move(picture->Left() + direction * d * scaleX, picture->Top() - d * scaleY, width,
                      height);
    };
    const auto at = [&](std::size_t k) -> forms::Image * {
        return k < sequence.size() ? sequence[k] : nullptr;
    };
    const float threshold = static_cast<float>(refTop + 8 * scaleY);

    std::size_t cursor = 0;
    int cycles = 0;
    while (cursor < sequence.size() && cycles < kMaxCycles) {
        forms::Image *picture = sequence[cursor];
        if (!picture || picture->Top() <= refTop) {
            ++cursor;
            continue;
        }
        step(picture);
        forms::Image *next = at(cursor + 1);
        if (n > 5) {
            if (next && picture->Top() <= refTop)
                step(next);
        } else {
            if (next && picture->Top() <= threshold)
                step(next);
            forms::Image *afterNext = at(cursor + 2);
            if (afterNext && next && next->Top() <= threshold)
                step(afterNext);
        }
        ++cycles;
        support::Wait(clock, kPauseMs);
    }
}

} // namespace

void PlayedCardsAnimation(table::MainForm &form, const core::TableState &state,
                          const platform::Clock &clock, int n, int pos)
{
    if (pos < 0 || pos > 3 || n <= 0)
        return;
    n = std::min(n, rules::kMaxHandCards);
    auto &pictures = form.hands.cardRow(pos);
    const core::PlayState::CardPictureRow &row
            = state.play.TableCards[static_cast<std::size_t>(pos)];
    const auto pictureOf = [&](int j) -> forms::Image * {
        const int index = row[static_cast<std::size_t>(j)];
        return index >= 0 ? pictures.find(index) : nullptr;
    };
    // The own cards start from the first, another seat's from the last.
    std::vector<forms::Image *> sequence;
    for (int j = 0; j < n; ++j)
        sequence.push_back(pictureOf(pos == 0 ? j : n - 1 - j));
    forms::Image *reference = pictureOf(0);
    animate(sequence, reference, n, pos, state, clock);
}

void PlayedCardsAnimationOthers(table::MainForm &form, const core::TableState &state,
                                const platform::Clock &clock, int n, int pos)
{
    if (pos < 1 || pos > 3 || n <= 0)
        return;
    n = std::min(n, rules::kMaxHandCards);
    auto &pictures = form.hands.cardRow(pos);
    const int first = state.rules.HandRecords[static_cast<std::size_t>(pos)].validCount();
    std::vector<forms::Image *> sequence;
    for (int k = first + n - 1; k >= first; --k)
        sequence.push_back(k < rules::kMaxHandCards ? pictures.find(k) : nullptr);
    animate(sequence, first < rules::kMaxHandCards ? pictures.find(first) : nullptr, n, pos, state,
            clock);
}

} // namespace tessaroc::play
