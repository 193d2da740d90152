#pragma once

#include "rules/CardCode.h"
#include "rules/CardRulesState.h"
#include "rules/PlayKind.h"
#include "rules/PrevPlay.h"

#include <array>
#include <cstdint>

namespace tessaroc::rules {

// The deciding half of the own play: whether a play or pass leaves, what
// becomes the play to beat, which cards leave the hand and which sound and animation the play
// calls for. The play flow shows the result (pictures, notice, clock, waits).

enum class OwnPlayOutcome : std::uint8_t {
    Nothing, // nothing raised while leading: a lead cannot be passed
    Pass, // nothing raised while following: the pass frame, sent while the play may be sent
    IllegalKind, // the raised cards form no kind: the notice, brought to the front
    DoesNotBeat, // a kind that does not beat the play to beat: the notice
    AcceptedNotSent, // it would beat, but this turn's play may no longer be sent: clock and
                     // buttons put away, nothing sent, the cards stay
    Sent, // accepted and sent: the cards go to the table
};

// The sound of the own play. The play flow turns a cue into a file and plays
// it only while game sounds are on and the window is not minimised.
enum class SoundCue : std::uint8_t {
    None,
    Sys080, // a pass
    Sys040, // a bomb of five to eight
    Sys060, // the four jokers
    Sys070, // single, pair, triple, triple with pair, bomb of four
    Feiji, // triple chain or plane
    Liandui, // pair chain
};

// Picture resources of the bomb animations; 0 is none.
inline constexpr std::int16_t kBombFiveSixA = 879;
inline constexpr std::int16_t kBombFiveSixB = 880;
inline constexpr std::int16_t kBombFourJokers = 881;
inline constexpr std::int16_t kBombSevenEight = 930;

// What the play flow knows when the player presses the play button.
struct OwnPlayInput
{
    std::array<bool, kMaxHandCards> raised{}; // per own slot: the card's picture is raised
    bool maySendPlay = false; // this turn's play or pass may still be sent
    double random = 0.0; // uniform in [0, 1): picks one of the two five- and six-card bombs
};

// One played card in judged order: its code, its picture and the slot it
// leaves.
struct PlayedCard
{
    CardCode code = 0;
    std::int16_t picIndex = -1;
    std::int16_t slot = -1;

    bool operator==(const PlayedCard &) const = default;
};

struct OwnPlayDecision
{
    OwnPlayOutcome outcome = OwnPlayOutcome::Nothing;
    // Queue the play frame: a pass for Pass, else the judged cards' ids with
    // the kind (judgedIds).
    bool sendFrame = false;
    PlayKind kind = KindNone; // the judged kind (never 8)
    std::int16_t count = 0; // raised cards
    std::array<PlayedCard, kMaxHandCards> realOrder{}; // entries 0 to count - 1
    PrevPlay newPrevPlay; // the own play as the play to beat, without card ids
    bool emptiesHand = false; // the caller then waits 1000 ms and does not re-sort
    std::int16_t bombResource = 0; // one of the kBomb... resources, or 0
    SoundCue sound = SoundCue::None;

    // The card ids of the judged cards in judged order, the order the play
    // frame carries them in; entries 0 to count - 1.
    std::array<std::uint8_t, kMaxHandCards> judgedIds() const;

    bool operator==(const OwnPlayDecision &) const = default;
};

// Judges the raised cards of the own hand against the play to beat. Pure: it
// reads the state and the input and returns the decision.
OwnPlayDecision JudgeChuPai(const CardRulesState &state, const OwnPlayInput &input);

// Writes the decision into the rules' tables: the judged play into
// JudgeResult, and for a sent play the new play to beat, the cards taken out of
// the own hand (the rest keep their order) and maySendPlay cleared. Apply a
// decision to the state it was made from, before anything else changes it.
void ApplyOwnPlay(CardRulesState &state, bool &maySendPlay, const OwnPlayDecision &decision);

} // namespace tessaroc::rules
