#pragma once

namespace tessaroc::core {
struct AnnouncedPlay;
struct CoreContext;
} // namespace tessaroc::core

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::play {

class BackFans;
class CardPictures;
class PlayEffects;

// Every play the server announces with cards, the own one included, as the
// core applied it to the hand's state: the seat's earlier plays taken off
// the table and the new play laid out face up in the seat's play area and
// slid in, the effects, the seat's fan, and the badge when a hand is played
// out. The own play was shown when it was sent; its announcement only looks
// whether the own hand is empty. A play the core did not take (no hand can
// bring it) shows nothing. While the hands lie open (BidRowOn) another seat's
// cards take the pictures counted down from its fan count, lie a little
// lower, and the twin slide-in brings in the row's pictures from the seat's
// card count on.
class AnnouncedPlays
{
public:
    AnnouncedPlays(table::MainForm &form, core::CoreContext &context, CardPictures &pictures,
                   PlayEffects &effects, BackFans &fans);

    void ShowChuPai(const core::AnnouncedPlay &play);

private:
    table::MainForm &form_;
    core::CoreContext &c_;
    CardPictures &pictures_;
    PlayEffects &effects_;
    BackFans &fans_;

    // Another seat's cards face up and hidden, each at its place moved down
    // and aside by the slide-in's start offsets, later cards on top.
    void layOut(const core::AnnouncedPlay &play);
    // While the hands lie open, the pictures the twin slide-in brings in.
    void openHandSlideIn(const core::AnnouncedPlay &play);
};

} // namespace tessaroc::play
