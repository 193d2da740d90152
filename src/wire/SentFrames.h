#pragma once

#include "wire/MessageFrame.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

// The frames the client sends, one value type per command. `encode()` gives
// the zero-filled frame with exactly the bytes the command carries; the send
// path stamps the echo bytes later (SendMsg). `decode()` reads a frame of that
// command back, as the game server does; it never faults, whatever the bytes.
// The chat line, sent and received alike, is in ChatFrame.h.
//
// Layouts (byte: field); every byte not listed is 0:
//   bid (3)            6 own seat, 11 call (1) or no call (0)
//   choice (5)         6 own seat, 15 answer: 1 first button, 2 second
//   play (7)           6 own seat, 15 mode: 1 pass, 2 cards; with cards
//                      17 count, 18 kind, 20.. one card id per byte
//   ready/leave (16)   6 own seat, 15 ready (1) or leave (0)
//   keep-alive (24)    6 own seat
//   login (18/28)      14 = 1, 16..31 account, 32.. password, one byte per
//                      character; the reconnect request (28) also carries
//                      260-261 the echo pair and 268-271 the resume value
namespace tessaroc::wire {

// The most cards one play can carry: a whole hand of 25 plus the 8 bottom
// cards. Every card table of a frame has this many entries.
inline constexpr std::size_t kMaxFrameCards = 33;

struct BidFrame
{
    std::uint8_t seat = 0;
    bool call = false; // wants to be landlord

    MessageFrame encode() const;
    static BidFrame decode(const MessageFrame &frame);
    bool operator==(const BidFrame &) const = default;
};

// The answer to a two-way choice. The client never opens one, but the choice
// buttons and their time-out still answer with it.
struct ChoiceFrame
{
    std::uint8_t seat = 0;
    std::uint8_t answer = 0; // 1 the first button, 2 the second

    MessageFrame encode() const;
    static ChoiceFrame decode(const MessageFrame &frame);
    bool operator==(const ChoiceFrame &) const = default;
};

enum class PlayMode : std::uint8_t {
    Pass = 1,
    Cards = 2,
};

// The own play or pass. A decoded frame keeps its count byte as sent; ids()
// holds at most kMaxFrameCards of them, so a count above that reads as that
// many ids, and the server tells such a count by cardCount.
struct PlayFrame
{
    std::uint8_t seat = 0;
    PlayMode mode = PlayMode::Pass;
    std::uint8_t kind = 0; // the judged kind, 1-7 or 9-14
    std::uint8_t cardCount = 0;
    std::array<std::uint8_t, kMaxFrameCards> cardIds{}; // in judged order

    static PlayFrame pass(std::uint8_t seat);
    // More than kMaxFrameCards ids are cut to that many.
    static PlayFrame cards(std::uint8_t seat, std::uint8_t kind, std::span<const std::uint8_t> ids);
    std::span<const std::uint8_t> ids() const;

    MessageFrame encode() const;
    static PlayFrame decode(const MessageFrame &frame);
    bool operator==(const PlayFrame &) const = default;
};

// Ready for the next hand, or leaving the table. The leave frame goes straight
// through the socket with its echo bytes 0.
struct ReadyOrLeaveFrame
{
    std::uint8_t seat = 0;
    bool ready = true;

    MessageFrame encode() const;
    static ReadyOrLeaveFrame decode(const MessageFrame &frame);
    bool operator==(const ReadyOrLeaveFrame &) const = default;
};

// A ready-or-leave frame whose byte 15 is 0: the player leaves the table and
// the hall takes over. Any other byte there is no leave.
bool isLeaveFrame(const MessageFrame &frame);

struct KeepAliveFrame
{
    std::uint8_t seat = 0; // 0 before the first user information

    MessageFrame encode() const;
    static KeepAliveFrame decode(const MessageFrame &frame);
    bool operator==(const KeepAliveFrame &) const = default;
};

// The login frame (18) and its reconnection form (28). The account and the
// password are written one byte per character (the character's code in the
// code page); the command line has already refused double-byte characters and
// names too long for the frame. An account of more than 16 characters runs
// into the password's bytes and is overwritten by the password as far as that
// reaches; read back, the account is bytes 16-31 and the password runs from
// byte 32 to the first zero before the echo pair. Only the reconnection form
// carries the echo pair and the resume value; the login form neither writes
// nor reads them, so a long password keeps its last bytes there.
struct LoginFrame
{
    static constexpr std::size_t kAccountPos = 16;
    static constexpr std::size_t kPasswordPos = 32;

    bool reconnect = false;
    std::string account{}; // UTF-8
    std::string password{}; // UTF-8
    std::array<std::uint8_t, 2> echo{}; // reconnection: the echo pair at the attempt
    std::int32_t resumeValue = 0; // reconnection: as the last hand-start deal carried it

    MessageFrame encode() const;
    static LoginFrame decode(const MessageFrame &frame);
    bool operator==(const LoginFrame &) const = default;

    // Turns an encoded login frame into the reconnection request in place:
    // the command becomes 28 and the echo pair and the resume value are
    // written over their bytes. Every other byte stays as it was, so each
    // attempt stamps its own echo pair and resume value over the last one's.
    static void stampReconnect(MessageFrame &frame, const std::array<std::uint8_t, 2> &echo,
                               std::int32_t resumeValue);
};

} // namespace tessaroc::wire
