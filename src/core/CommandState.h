#pragma once

#include "core/PlayerRecord.h"

#include <array>
#include <cstdint>
#include <string>

namespace tessaroc::core {

// A seat's name and avatar as the score board lists them.
struct ScoreName
{
    std::string name;
    std::string face; // the avatar index as decimal text

    bool operator==(const ScoreName &) const = default;
};

// What the server's commands leave behind for the rest of the client: the
// seated users, the values of the last deal and the turn the played command
// opened.
struct CommandState
{
    std::array<PlayerRecord, 4> custom{}; // by display position
    std::array<ScoreName, 4> ScoreNames{};

    // From the last hand-start deal; a reconnection sends it back.
    std::int32_t ResumeValue = 0;
    std::int16_t ShownCard = 0; // picture number of the card turned up at the deal
    std::uint8_t ShowCardDouble = 0;
    std::string WealthDoubleText;
    bool LastTrickReady = false;
    std::int16_t SortMode = 0;

    // The hint button's state for the own turn.
    std::int16_t HintIndex = 0;
    bool HintReady = false;

    std::string WinnerText; // the winners' line of the last result frame
    std::int16_t PropResultCount = 0;

    // The server took the player off the table: the ready button leads back
    // to the hall.
    bool ConnectionLostFlag = false;
};

} // namespace tessaroc::core
