#pragma once

namespace tessaroc::core {
struct TableState;
}
namespace tessaroc::platform {
class Clock;
}
namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::play {

// Brings the n pictures of a play just laid out hidden at display position
// pos into place: one after the other, each made visible as it starts and
// slid 24 scaled pixels up and sideways in steps of 8 (up to five cards) or
// 12, the next cards following in a wave, with a pause of 4 ms after every
// cycle. The pictures are those of the seat's current play row (TableCards);
// the own cards start from the first, another seat's from the last. Returns when every picture has
// arrived; it changes only the pictures' visibility, place and size. A position outside 0..3
// changes nothing; a slot or picture that does not exist is skipped.
void PlayedCardsAnimation(table::MainForm &form, const core::TableState &state,
                          const platform::Clock &clock, int n, int pos);
// The same for positions 1..3, taking the seat's card count as the first
// slot of the play and element k of the seat's row for slot k.
void PlayedCardsAnimationOthers(table::MainForm &form, const core::TableState &state,
                                const platform::Clock &clock, int n, int pos);

} // namespace tessaroc::play
