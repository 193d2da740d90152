#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace tessaroc::wire {

// Every message between the table and the game server is one fixed frame of
// 272 bytes, the same layout in both directions; the TCP stream carries
// nothing else once the connection stands.
inline constexpr std::size_t kFrameSize = 272;

// Named positions of the common layout. Each command gives the argument bytes
// its own meaning.
namespace offset {
inline constexpr std::size_t kCmd = 3;
inline constexpr std::size_t kSeatBit = 6;
inline constexpr std::size_t kArg8 = 8;
inline constexpr std::size_t kArg11 = 11;
inline constexpr std::size_t kArg15 = 15;
inline constexpr std::size_t kArg17 = 17;
inline constexpr std::size_t kKindWord = 236;
inline constexpr std::size_t kEcho = 260;
inline constexpr std::size_t kResumeValue = 268;
} // namespace offset

// Command codes (byte 3). Some codes are used in both directions with
// different layouts.
enum Command : std::uint8_t {
    CmdDeal = 1,
    CmdBidTurn = 2,
    CmdBid = 3,
    CmdChoice = 5,
    CmdPlayed = 6,
    CmdPlay = 7,
    CmdHandResult = 9,
    CmdReadyOrLeave = 16,
    CmdLogin = 18,
    CmdChat = 19,
    CmdUserInfo = 20,
    CmdUserLeft = 21,
    CmdForcedLeave = 22,
    CmdReady = 23,
    CmdKeepAlive = 24,
    CmdReconnect = 28,
    CmdReconnectAnswer = 29,
    CmdProp44 = 44,
    CmdProp45 = 45,
    CmdProp46 = 46,
};

// The frame as a value. Every reader and writer takes a position that may come
// from untrusted counts: a read that would leave the frame gives 0 and a write
// that would leave it is dropped, so no frame content can move an access
// outside the 272 bytes. Only the codecs of this folder read and write bytes
// by position; the rest of the client passes whole frames along, sends them
// and routes them by cmd() (cmake/TessarocLayers.cmake checks it).
class MessageFrame
{
public:
    using Bytes = std::array<std::uint8_t, kFrameSize>;

    MessageFrame() = default;
    explicit MessageFrame(const Bytes &bytes)
        : bytes_(bytes)
    { }
    // Copies kFrameSize bytes from data, which must hold that many.
    static MessageFrame fromBytes(const std::uint8_t *data);

    const Bytes &bytes() const { return bytes_; }
    Bytes &bytes() { return bytes_; }
    const std::uint8_t *data() const { return bytes_.data(); }
    std::uint8_t *data() { return bytes_.data(); }

    std::uint8_t byteAt(std::size_t pos) const;
    void setByte(std::size_t pos, std::uint8_t value);

    std::uint16_t u16le(std::size_t pos) const;
    std::uint32_t u32le(std::size_t pos) const;
    std::uint32_t u32be(std::size_t pos) const;
    std::uint64_t u64le(std::size_t pos) const;
    std::int32_t i32le(std::size_t pos) const { return static_cast<std::int32_t>(u32le(pos)); }
    std::int32_t i32be(std::size_t pos) const { return static_cast<std::int32_t>(u32be(pos)); }

    void setU16le(std::size_t pos, std::uint16_t value);
    void setU32le(std::size_t pos, std::uint32_t value);
    void setU32be(std::size_t pos, std::uint32_t value);
    void setU64le(std::size_t pos, std::uint64_t value);

    std::uint8_t cmd() const { return bytes_[offset::kCmd]; }
    void setCmd(std::uint8_t value) { bytes_[offset::kCmd] = value; }
    std::uint8_t seatBit() const { return bytes_[offset::kSeatBit]; }
    void setSeatBit(std::uint8_t value) { bytes_[offset::kSeatBit] = value; }
    // Bytes 236..239, most significant first: tells item-library traffic
    // (272, 260) from chat lines in CmdChat.
    std::uint32_t kindWord() const { return u32be(offset::kKindWord); }
    std::int32_t resumeValue() const { return i32le(offset::kResumeValue); }

    bool operator==(const MessageFrame &) const = default;

private:
    static bool fits(std::size_t pos, std::size_t width)
    {
        return pos <= kFrameSize && width <= kFrameSize - pos;
    }

    Bytes bytes_{};
};

// A seat named by a received frame. The byte stays as the server sent it; the
// client reads only its low four bits, and those name a seat only when they
// are exactly one seat bit (1, 2, 4 or 8). A handler ignores a seat that is
// not valid().
struct SeatByte
{
    constexpr SeatByte() = default;
    constexpr SeatByte(std::uint8_t byte)
        : raw(byte)
    { }

    constexpr bool valid() const
    {
        const int low = raw & 0x0F;
        return low == 1 || low == 2 || low == 4 || low == 8;
    }
    // The seat bit, or 0 when the byte names no seat.
    constexpr std::uint8_t bit() const
    {
        return valid() ? static_cast<std::uint8_t>(raw & 0x0F) : std::uint8_t{0};
    }

    bool operator==(const SeatByte &) const = default;

    std::uint8_t raw = 0;
};

// A readable dump of the bytes that are not zero: "[3]=07 [6]=01 ...".
std::string describe(const MessageFrame &frame);
// The positions where two frames differ, both values side by side.
std::string describeDifference(const MessageFrame &expected, const MessageFrame &actual);
// GoogleTest prints frames through this.
void PrintTo(const MessageFrame &frame, std::ostream *os);

} // namespace tessaroc::wire
