#pragma once

#include "rules/PlayKind.h"

#include <cstdint>
#include <random>
#include <string_view>

namespace tessaroc::core {
struct CoreContext;
}

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::play {

// Picture resources of the bomb explosions.
inline constexpr int kBombSmallA = 879;
inline constexpr int kBombSmallB = 880;
inline constexpr int kBombFourJokers = 881;
inline constexpr int kBombLarge = 930;

// The explosion a play of this kind sets off: five or six of a face one of
// the two small ones, picked by `random()` (uniform in [0, 1): the first below
// one half), which is asked only then; seven or eight of a face, and any kind
// above, the large one; the four jokers their own; 0 below five of a face.
template<class Random> int BombPicture(int kind, Random &&random)
{
    if (kind == rules::KindFourJokers)
        return kBombFourJokers;
    if (kind == rules::KindBomb5 || kind == rules::KindBomb6)
        return static_cast<int>(2 * random()) == 0 ? kBombSmallA : kBombSmallB;
    return kind > rules::KindBomb6 ? kBombLarge : 0;
}

// The sound of a kind of play: a file of the shared effects, or of the game's
// own folder; an empty file for a kind without one.
struct KindSound
{
    std::string_view file;
    bool gameFolder = false;
};
KindSound KindSoundOf(int kind);

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
    // The explosion of a kind of play (BombPicture), the small ones picked at
    // random, played once; nothing below five of a face.
    void PlayBombAnimation(int kind);
    // A bomb picture played once over the table.
    void ShowBomb(int picture);
    // The sound of the kind of play; none for a kind without one.
    void PlayKindSound(int kind);

    // The random choice between the two small explosions starts afresh from
    // this seed (the announced play reseeds it from the time of day).
    void reseed(std::uint32_t seed) { random_.seed(seed); }

private:
    table::MainForm &form_;
    core::CoreContext &c_;
    std::minstd_rand random_;
};

} // namespace tessaroc::play
