#pragma once

#include <cstdint>
#include <random>

namespace tessaroc::core {
struct CoreContext;
}

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::play {

// What marks another seat's announced play besides its cards: a bubble at
// the seat for a bomb, an explosion over the table for the big bombs and the
// four jokers, and the sound of the kind of play.
class PlayEffects
{
public:
    PlayEffects(table::MainForm &form, core::CoreContext &context);

    // The bomb bubble of seat pos (1..3): four to eight of a face (kinds 9
    // to 13) or the four jokers (14); other kinds show no bubble.
    void ShowBombBubble(int pos, int kind);
    // The explosion, played once: five or six of a face one of the two small
    // ones at random, seven or eight the large one, the four jokers their
    // own; nothing below five of a face.
    void PlayBombAnimation(int kind);
    // The sound of the kind of play; none for a kind without one.
    void PlayKindSound(int kind);

    // The random choice between the two small explosions starts afresh from
    // this seed (the announced play reseeds it from the time of day).
    void reseed(std::uint32_t seed) { random_.seed(seed); }

    static constexpr int kBombSmallA = 879;
    static constexpr int kBombSmallB = 880;
    static constexpr int kFourJokers = 881;
    static constexpr int kBombLarge = 930;

private:
    table::MainForm &form_;
    core::CoreContext &c_;
    std::minstd_rand random_;
};

} // namespace tessaroc::play
