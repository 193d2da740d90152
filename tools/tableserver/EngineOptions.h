#pragma once

#include "ChatGate.h"
#include "FrameDelivery.h"

#include <cstdint>
#include <string>

namespace tessaroc::tableserver {

struct EngineOptions
{
    int bots = 3; // seats taken by computer players: the last ones (8, 4, 2, 1)
    std::uint64_t seed = 1;
    int tableNumber = 1; // the resume value is table x 65536 + hand number
    std::uint8_t playSeconds = 20; // byte 255 of every CmdPlayed
    std::uint8_t roomSeconds = 15; // byte 11 of the login answer
    std::string password; // empty: any password is accepted
    std::uint64_t playerCoins = 10000; // a player's purse when it sits down
    std::uint64_t botCoins = 100000; // a computer player's purse, refilled when short

    // Waits in milliseconds.
    std::int64_t firstHandWaitMs = 15000; // after the fourth seat is filled
    std::int64_t nextHandWaitMs = 20000; // after the result frames
    std::int64_t bidWaitMs = 25000; // before a no call is taken for a player
    std::int64_t playGraceMs = 10000; // after the play seconds, before the server moves
    std::int64_t botDelayMinMs = 800;
    std::int64_t botDelayMaxMs = 1500;
    std::int64_t reconnectWaitMs = 90000; // a seat dropped during a hand
    std::int64_t dropBetweenHandsMs = 10000; // a seat dropped between hands
    ChatGate::Limits chat;
    ReplayPace replay;
    // For the client's tests: after this many plays of the first hand (plays
    // that put cards on the table, any seat's), the connection of the person
    // in the lowest seat is closed, once. 0 never.
    int dropSeatAfterPlays = 0;
    // For the client's tests: in the first hand, the connection of the
    // person in the lowest seat is closed right after it was sent this many
    // of the hand's four result frames (1 to 3), and the hand stays open for
    // that person's return, which is sent the rest again, until it is back or
    // gone. 0 never.
    int dropSeatAfterResults = 0;
    // For the client's tests: after this many plays of the first hand,
    // counted as above, the person in the lowest seat is made to leave
    // (CmdForcedLeave), once. 0 never.
    int forceLeaveAfterPlays = 0;
    // For the client's tests: every frame from a connection is checked
    // against what the table client sends (ClientFrameChecker.h); a frame
    // that breaks it is refused, not acted on, and reported.
    bool checkClientFrames = false;
};

} // namespace tessaroc::tableserver
