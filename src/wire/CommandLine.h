#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The hall starts the table with one command line of 15 fields, each ended by
// "$": the account, the game server, the room, the proxy and the captions of
// the two windows. A line whose last character is not "$" starts a spectator.
namespace tessaroc::wire {

// The caption the hall window has when the line does not name one.
inline constexpr std::string_view kDefaultHallCaption = "Ombrevale";

// The message box of an empty line (the client was not started by the hall).
inline constexpr std::string_view kEmptyLineText = "本游戏需从游戏大厅中启动！";
inline constexpr std::string_view kEmptyLineTitle = "警告";

inline constexpr int kProxyDirect = 0;
inline constexpr int kProxySocks5 = 5;

// The fields of the line, all text in UTF-8. A line that fails keeps the
// fields read before the failing one (the hall caption among them, when it was
// reached), so the caller can still restore the hall.
struct CommandLine
{
    std::string ArgUser;
    std::string ArgPassword;
    std::string ServerHost;
    std::uint16_t ServerPort = 0;
    // The whole room field and the part the table shows (from its 8th
    // character on; the first seven are a room code).
    std::string ArgRoom;
    std::string Location;
    // A room text of up to 10 characters is shown 2 points larger than the
    // label's starting size; a longer one keeps the starting size.
    bool LargeRoomFont = false;
    // 0 direct, 5 SOCKS5, any other value: no connection is made.
    std::int16_t ProxyType = 0;
    std::string ProxyHost;
    std::uint16_t ProxyPort = 0;
    std::string ProxyUser; // at most 255 characters
    std::string ProxyPassword; // at most 255 characters
    bool UseCaptions = false;
    std::string HallCaption;
    std::string TableCaption;
    // The item-library switch: read, then always 0 (the library stays off).
    std::int16_t prop_swicth = 0;
    std::int16_t ArgPropParam = 0;
    bool Spectator = false;
    // A spectator's line also carries a number (the one the text after the
    // room field begins with); it is kept with the own player record.
    std::int32_t SpectatorValue = 0;
};

enum class CommandLineEnding {
    Player, // start and play
    Spectator, // start and watch
    // The line is empty: show kEmptyLineText titled kEmptyLineTitle and end.
    EmptyLine,
    // A field is missing or wrong: restore the hall (under the caption read so
    // far, if any) and end, with no message to the player.
    BadLine,
};

struct CommandLineResult
{
    CommandLineEnding ending = CommandLineEnding::BadLine;
    CommandLine fields;
    // For BadLine: which field failed and why, for the program's own
    // diagnostics (the player sees nothing).
    std::string problem;
};

// Reads the line as the hall passed it (UTF-8). Blanks around the line are
// ignored; blanks inside a field stay part of it; text after the 15th "$" is
// ignored. Nothing here ends the program: the result says which ending
// applies.
CommandLineResult ParseCommandLine(std::string_view line);

} // namespace tessaroc::wire
