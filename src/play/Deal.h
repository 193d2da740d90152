#pragma once

#include <cstdint>

namespace tessaroc::core {
struct CoreContext;
struct DealtHand;
} // namespace tessaroc::core

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::play {

class CardPictures;
class HandSorting;

// The deal of a hand and the bottom cards going to the landlord, with their
// animations. The animations pace themselves with Wait, which runs the
// table's other events meanwhile; a deal that starts during another deal's
// animation ends that animation where it stands.
class Deal
{
public:
    Deal(table::MainForm &form, core::CoreContext &context, CardPictures &pictures,
         HandSorting &sorting);

    // The own cards of a hand-start deal, as the core stored them, laid out
    // on the hand line, the flights to the four seats run, the fans put up
    // and the bottom cards shown. A frame that dealt nothing shows nothing.
    void FaPai(const core::DealtHand &hand);
    // The cards flying from the pile toward display position pos.
    void DealAnimation(int pos);
    // The bottom cards close up in the middle, vanish, and a pile slides
    // toward the landlord at display position pos.
    void DiPaiAnimation(int pos);

private:
    table::MainForm &form_;
    core::CoreContext &c_;
    CardPictures &pictures_;
    HandSorting &sorting_;
    // Counts the deals, so that an animation sees a newer deal start inside
    // one of its waits and stops.
    std::uint32_t generation_ = 0;

    // Waits ms; false when a newer deal began meanwhile.
    bool pause(std::int16_t ms, std::uint32_t generation);
};

} // namespace tessaroc::play
