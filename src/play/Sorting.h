#pragma once

namespace tessaroc::core {
struct CoreContext;
}

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::play {

class CardPictures;

// Putting a hand in order and drawing it again. Only the card codes move
// between slots; every slot keeps its picture element, whose face is redrawn
// for the card that now stands there. An own card raised before the sort is
// raised again at its new place.
//
// A card whose face lies outside 3..17 can only come from a faulty frame: it
// takes no part in the order, goes behind the other cards in the order it
// had, and its picture stays hidden (no face of it is drawn).
class HandSorting
{
public:
    HandSorting(table::MainForm &form, core::CoreContext &context, CardPictures &pictures);

    // Slots 0..n-1 of the seat's hand by face, high to low, then by suit
    // (8, 4, 2, 1), laid out: the own row on the hand line, another seat's
    // remaining cards face up in its area (the hand end shows them so).
    void SortHandByFace(int pos, int n);
    // The own hand by groups: the faces held most often first, higher faces
    // first among groups of one size, the jokers after every group of two or
    // more and before the single cards; slots 0..n-1 drawn again. Only the
    // own seat (pos 0) is sorted this way.
    void SortHandByGroup(int pos, int n);

private:
    table::MainForm &form_;
    core::CoreContext &c_;
    CardPictures &pictures_;
};

} // namespace tessaroc::play
