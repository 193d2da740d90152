#pragma once

#include "wire/MessageFrame.h"

#include <functional>

namespace tessaroc::core {
struct CoreContext;
}

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::play {

class BackFans;
class CardPictures;
class PlayEffects;

// Every play the server announces with cards, the own one included: the
// bomb counters of the hand, the play to beat, the seat's previous trick
// retired and the new play laid out face up in the seat's play area and
// slid in, the effects, the seat's fan, and the badge when a hand is
// played out. The own play was shown when it was sent; its announcement
// only counts its bombs and looks whether the own hand is empty.
//
// A frame no hand can bring (more than 33 cards, a face outside 3..17, a
// play past the seat's 33 slots) is ignored: nothing changes.
class AnnouncedPlays
{
public:
    // Brings the n cards just laid out (hidden, 24 pixels below and aside of
    // their places) at display position pos in, returning when all are in.
    using SlideIn = std::function<void(int n, int pos)>;

    AnnouncedPlays(table::MainForm &form, core::CoreContext &context, CardPictures &pictures,
                   PlayEffects &effects, BackFans &fans);

    void ShowChuPai(const wire::MessageFrame &message);

    // The played-card animation to use; until one is set the cards are put at
    // their places and shown at once.
    void setSlideIn(SlideIn slideIn) { slideIn_ = std::move(slideIn); }

private:
    table::MainForm &form_;
    core::CoreContext &c_;
    CardPictures &pictures_;
    PlayEffects &effects_;
    BackFans &fans_;
    SlideIn slideIn_;

    void placeAtOnce(int n, int pos);
};

} // namespace tessaroc::play
