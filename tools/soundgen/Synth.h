#pragma once

#include "Signal.h"

#include <cstdint>

namespace soundgen {

// The effects and the music, synthesised. Each recipe gives a finished
// signal at kEffectRate; the noise comes from a fixed seed, so every build
// makes the same files.
inline constexpr int kEffectRate = 22050;

Signal dealRiffle(); // cards dealt out: a quick run of flicks
Signal cardUp(); // an own card raised
Signal cardDown(); // an own card lowered
Signal cardSlap(double weight); // cards put on the table; weight 0..1 deepens it
Signal explosion(double seconds, double depth); // a bomb going off
Signal rocketAndBlast(); // the four jokers: a rising whistle, then a blast
Signal hintChime(); // two bright notes
Signal fanfare(bool bright); // a rising arpeggio (bright) or a short brass call
Signal sadFall(bool trombone); // falling notes, or a sliding "wah-wah"
Signal swish(double seconds); // a card drawn
Signal shuffle(); // a longer riffle
Signal dice(); // dice rattling to rest
Signal warningTick(); // the turn clock's tick
Signal jetWhoosh(); // under the spoken "plane"
Signal backgroundLoop(); // the table's music, a seamless loop

} // namespace soundgen
