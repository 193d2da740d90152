#pragma once

#include "support/LayoutScale.h"

#include <array>

namespace tessaroc::support {

// A row of cards on the table, laid out from its origin, in window units. A
// row of n cards centred on the origin reaches (0.11 n + 0.39) cards of 90
// design pixels to either side, and each card lies 22 % of a card's width to
// the right of the one before, so that only the corners of the covered cards
// show. The own row rests on the hand line; a card raised for a play stands a
// fifth of its height above it, and a card is raised exactly while it stands
// above the line: the pictures are the only record of the selection.
//
// Places are compared exactly once they are set, so every value here is
// formed in the one order of operations the table has always used.
class CardRow
{
public:
    CardRow(double origin, LayoutScale scale, double restingTop = 0)
        : origin_(origin)
        , scale_(scale)
        , restingTop_(restingTop)
    { }

    double origin() const { return origin_; }

    // Half the width of a row of n cards.
    double spread(int n) const
    {
        return (0.11 * n + 0.39) * 90 * static_cast<double>(scale_.ScaleX);
    }
    // The left of the first of n cards centred on the origin, and the right
    // end of such a row.
    double start(int n) const { return origin_ - spread(n); }
    double end(int n) const { return origin_ + spread(n); }
    // How far card i lies right of the first: 22 % of the width given, times
    // the layout scale. Most rows pass their pictures' width, which carries
    // the scale already, so the reduced table closes them up a little
    // further than it shrinks their cards.
    double step(int i, double cardWidth) const
    {
        return i * 0.22 * cardWidth * static_cast<double>(scale_.ScaleX);
    }
    // The left of card i of a row of n cards centred on the origin.
    double left(int i, int n, double cardWidth) const { return start(n) + step(i, cardWidth); }

    double restingTop() const { return restingTop_; }
    // The top of a raised card of the height given.
    double raisedTop(double cardHeight) const
    {
        return restingTop_ - static_cast<float>(cardHeight) / 5.0f;
    }
    bool isRaised(double top) const { return top < restingTop_; }

private:
    double origin_;
    LayoutScale scale_;
    double restingTop_;
};

// The hand line: the top of a resting own card, in design pixels.
inline constexpr double kHandLine = 565;

// Where each seat's row stands when a hand starts, per display position, in
// design pixels: x the origin of its row, y the top of its played cards.
struct RowHome
{
    double x;
    double y;
};
inline constexpr std::array<RowHome, 4> kRowHomes{{{500, 430}, {170, 321}, {300, 230}, {550, 321}}};

// The origin of another seat's play of n cards (display positions 1 to 3),
// in design pixels: the longer the play, the further left it starts.
double playedRowOrigin(int pos, int n);

// The pictures of a play, per display position: their size in design pixels
// and the side they slide in from (+1 the right, -1 the left), kSlideIn
// design pixels aside and as far below their place.
struct PlayedCards
{
    double width;
    double height;
    int from;
};
inline constexpr std::array<PlayedCards, 4> kPlayedCards{
        {{80, 108, +1}, {77, 104, -1}, {75, 101, -1}, {77, 104, +1}}};
inline constexpr double kSlideIn = 24;

} // namespace tessaroc::support
