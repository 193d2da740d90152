// The played cards slide in: where each comes to rest, its size, how many
// pauses the play takes and in which order the cards start.
#include "PlayFixture.h"

#include "play/PlayedCardsAnimation.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>

namespace tessaroc::play::test {
namespace {

constexpr double kSizes[4][2] = {{80, 108}, {77, 104}, {75, 101}, {77, 104}};
constexpr int kDirection[4] = {-1, +1, +1, -1};
constexpr int kFirstSlot = 2; // another seat's play starts at this picture

// Lays out the n cards of a play at pos as the callers do: hidden, each 24
// pixels below and against the direction of its resting place. Returns the
// pictures in the order of the play (first card first) and their resting
// places.
std::vector<forms::Image *> layOut(PlayTable &t, int pos, int n, std::vector<QPointF> &rest)
{
    const float sx = t.state.table.scale.ScaleX, sy = t.state.table.scale.ScaleY;
    auto &row = t.form->hands.cardRow(pos);
    std::vector<forms::Image *> play;
    auto &played = t.state.play.TableCards[static_cast<std::size_t>(pos)];
    played[33] = static_cast<std::int16_t>(n);
    for (int k = 0; k < n; ++k) {
        const int index = pos == 0 ? 10 + k : kFirstSlot + k;
        played[static_cast<std::size_t>(k)] = static_cast<std::int16_t>(index);
        forms::Image &picture = row.Load(index);
        const QPointF place(200 + 18 * k * sx, 300);
        rest.push_back(place);
        picture.Move(place.x() - kDirection[pos] * 24 * sx, place.y() + 24 * sy,
                     kSizes[pos][0] * sx, kSizes[pos][1] * sy);
        picture.setVisible(false);
        play.push_back(&picture);
    }
    return play;
}

TEST(PlayedCardsAnimation, EveryCardComesToRestAtEverySeatAndScale)
{
    for (const bool reduced : {false, true}) {
        for (int pos = 0; pos < 4; ++pos) {
            for (const int n : {1, 3, 5, 6, 9}) {
                SCOPED_TRACE(testing::Message()
                             << "reduced " << reduced << " pos " << pos << " n " << n);
                PlayTable t(reduced);
                std::vector<QPointF> rest;
                const auto play = layOut(t, pos, n, rest);
                const int before = t.clock.readings;
                PlayedCardsAnimation(*t.form, t.state, t.clock, n, pos);
                // Every pause reads the clock twice.
                EXPECT_EQ((t.clock.readings - before) / 2, n <= 5 ? n + 2 : n + 1);
                const float sx = t.state.table.scale.ScaleX, sy = t.state.table.scale.ScaleY;
                for (int k = 0; k < n; ++k) {
                    const forms::Image &picture = *play[static_cast<std::size_t>(k)];
                    EXPECT_TRUE(picture.Visible());
                    EXPECT_NEAR(picture.Left(), rest[static_cast<std::size_t>(k)].x(), 1e-3);
                    EXPECT_NEAR(picture.Top(), rest[static_cast<std::size_t>(k)].y(), 1e-3);
                    EXPECT_EQ(picture.Width(), std::nearbyint(kSizes[pos][0] * sx));
                    EXPECT_EQ(picture.Height(), std::nearbyint(kSizes[pos][1] * sy));
                }
            }
        }
    }
}

// The own play starts with its first card, the other seats' with their
// last; in the first pause only that card shows.
TEST(PlayedCardsAnimation, TheOwnPlayRunsFromItsFirstCardTheOthersFromTheirLast)
{
    for (int pos = 0; pos < 4; ++pos) {
        SCOPED_TRACE(pos);
        PlayTable t;
        t.clock.step = 1;
        std::vector<QPointF> rest;
        const auto play = layOut(t, pos, 4, rest);
        std::vector<bool> shown;
        QTimer::singleShot(0, [&] {
            for (const forms::Image *picture : play)
                shown.push_back(picture->Visible());
        });
        PlayedCardsAnimation(*t.form, t.state, t.clock, 4, pos);
        const std::vector<bool> expected = pos == 0 ? std::vector<bool>{true, false, false, false}
                                                    : std::vector<bool>{false, false, false, true};
        EXPECT_EQ(shown, expected);
    }
}

TEST(PlayedCardsAnimation, NothingMovesForNoCardsOrASeatOutsideTheTable)
{
    for (const int pos : {-1, 4, 0}) {
        PlayTable t;
        std::vector<QPointF> rest;
        const auto play = layOut(t, 0, 3, rest);
        const double top = play[0]->Top();
        PlayedCardsAnimation(*t.form, t.state, t.clock, pos == 0 ? 0 : 3, pos);
        EXPECT_EQ(play[0]->Top(), top);
        EXPECT_FALSE(play[0]->Visible());
    }
    PlayTable t;
    std::vector<QPointF> rest;
    const auto play = layOut(t, 0, 3, rest);
    PlayedCardsAnimationOthers(*t.form, t.state, t.clock, 3, 0);
    EXPECT_FALSE(play[0]->Visible());
}

// A card that starts lower keeps stepping, sideways too, until it reaches
// the line of the first card.
TEST(PlayedCardsAnimation, ACardStartingLowerStepsUntilItReachesTheLine)
{
    PlayTable t;
    std::vector<QPointF> rest;
    const auto play = layOut(t, 0, 2, rest);
    play[1]->setTop(play[1]->Top() + 16);
    PlayedCardsAnimation(*t.form, t.state, t.clock, 2, 0);
    EXPECT_NEAR(play[1]->Top(), rest[1].y(), 1e-3);
    EXPECT_NEAR(play[1]->Left(), rest[1].x() - 16, 1e-3);
}

} // namespace
} // namespace tessaroc::play::test
