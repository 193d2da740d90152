#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tessaroc::core {

// What the table knows of one seated user, one record per display position
// (0 the own seat), filled from the user-information frame. Texts are UTF-8.
struct PlayerRecord
{
    std::string nickname;
    std::string faceCode; // "m" or "w" and a number 1..10
    std::uint8_t sex = 0; // 0 woman, anything else man
    std::string location;
    double points = 0;
    double credit = 0;
    double coins = 0;
    double extraNumber1 = 0;
    std::string title;
    double extraNumber2 = 0;
    double extraNumber3 = 0;
    double extraNumber4 = 0;
    std::int32_t logins = 0;
    std::int32_t disconnects = 0;
    std::int32_t wins = 0;
    std::int32_t losses = 0;
    std::string accountName;
    std::string nameTag;
    std::string extraText1;
    std::string extraText2;
    std::uint8_t extraByte = 0;
    double extraNumber5 = 0;

    bool operator==(const PlayerRecord &) const = default;
};

// Empties a seat's record when its user goes: the shown fields are cleared;
// the account name, the name tag, the extra texts and numbers that nothing
// shows keep their values.
inline void EmptySeatRecord(PlayerRecord &r)
{
    r.nickname.clear();
    r.faceCode.clear();
    r.location.clear();
    r.title.clear();
    r.sex = 0;
    r.points = r.credit = r.coins = 0;
    r.extraNumber1 = r.extraNumber2 = r.extraNumber3 = r.extraNumber4 = 0;
    r.logins = r.disconnects = r.wins = r.losses = 0;
}

// The avatar a face code shows: "m1".."m10" are 0..9, "w1".."w10" 10..19. A
// code that is not a letter and a number from 1 to 10 shows avatar 0 (or 10
// for a woman's code), never an index outside the table.
int AvatarIndex(const std::string &faceCode);

// The ready mark by the player's coins: 0 below 20000, 1 below 60000, else 2.
int ReadyMarkLevel(double coins);

} // namespace tessaroc::core
