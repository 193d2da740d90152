#pragma once

#include <QImage>
#include <QSize>

namespace tessaroc::artgen {

// Faces are the game's face numbers: 3 to 10, 11 J, 12 Q, 13 K, 14 A, 15 two,
// 16 small joker, 17 big joker. Suits: 0 diamonds, 1 clubs, 2 hearts,
// 3 spades.
QImage cardFace(int face, int suit, QSize size);
QImage cardBack(QSize size);

// The card backs another player still holds, as the table shows them.
enum class FanSeat { Left, Top, Right };
QImage cardFan(FanSeat seat, int cards, QSize size);

// The deal pile in the middle of the table.
QImage dealPile(QSize size, int cards);

} // namespace tessaroc::artgen
