#pragma once

#include "rules/CardCode.h"
#include "rules/CardRulesState.h"
#include "rules/PlayKind.h"
#include "rules/PrevPlay.h"

#include <array>
#include <cstdint>

namespace tessaroc::rules {

// The deciding half of the own play: whether a play or pass leaves, what
// becomes the play to beat and which cards leave the hand. The play flow
// shows the result (pictures, notice, clock, sounds, explosions, waits).

enum class OwnPlayOutcome : std::uint8_t {
    Nothing, // nothing raised while leading: a lead cannot be passed
    Pass, // nothing raised while following: the pass frame, sent while the play may be sent
    IllegalKind, // the raised cards form no kind: the notice, brought to the front
    DoesNotBeat, // a kind that does not beat the play to beat: the notice
    AcceptedNotSent, // it would beat, but this turn's play may no longer be sent: clock and
                     // buttons put away, nothing sent, the cards stay
    Sent, // accepted and sent: the cards go to the table
};

// What the play flow knows when the player presses the play button.
struct OwnPlayInput
{
    std::array<bool, kMaxHandCards> raised{}; // per own slot: the card's picture is raised
    bool maySendPlay = false; // this turn's play or pass may still be sent
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
    // The last cards of the hand: they go out without explosion or sound,
    // and the caller then waits 1000 ms and does not re-sort.
    bool emptiesHand = false;

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
