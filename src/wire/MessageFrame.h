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
inline constexpr std::size_t FrameSize = 272;

// Named positions of the common layout. Each command gives the argument bytes
// its own meaning.
namespace offset {
inline constexpr std::size_t Cmd = 3;
inline constexpr std::size_t SeatBit = 6;
inline constexpr std::size_t Arg8 = 8;
inline constexpr std::size_t Arg11 = 11;
inline constexpr std::size_t Arg15 = 15;
inline constexpr std::size_t Body = 16;
inline constexpr std::size_t Arg17 = 17;
inline constexpr std::size_t BodyEnd = 236; // one past the last body byte
inline constexpr std::size_t KindWord = 236;
inline constexpr std::size_t Echo = 260;
inline constexpr std::size_t ResumeValue = 268;
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
// outside the 272 bytes.
class MessageFrame
{
public:
    using Bytes = std::array<std::uint8_t, FrameSize>;

    MessageFrame() = default;
    explicit MessageFrame(const Bytes &bytes) : bytes_(bytes) { }
    // Copies FrameSize bytes from data, which must hold that many.
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

    std::uint8_t cmd() const { return bytes_[offset::Cmd]; }
    void setCmd(std::uint8_t value) { bytes_[offset::Cmd] = value; }
    std::uint8_t seatBit() const { return bytes_[offset::SeatBit]; }
    void setSeatBit(std::uint8_t value) { bytes_[offset::SeatBit] = value; }
    // Bytes 236..239, most significant first: tells item-library traffic
    // (272, 260) from chat lines in CmdChat.
    std::uint32_t kindWord() const { return u32be(offset::KindWord); }
    std::int32_t resumeValue() const { return i32le(offset::ResumeValue); }

    bool operator==(const MessageFrame &) const = default;

private:
    static bool fits(std::size_t pos, std::size_t width)
    {
        return pos <= FrameSize && width <= FrameSize - pos;
    }

    Bytes bytes_{};
};

// A readable dump of the bytes that are not zero: "[3]=07 [6]=01 ...".
std::string describe(const MessageFrame &frame);
// The positions where two frames differ, both values side by side.
std::string describeDifference(const MessageFrame &expected, const MessageFrame &actual);
// GoogleTest prints frames through this.
void PrintTo(const MessageFrame &frame, std::ostream *os);

} // namespace tessaroc::wire
