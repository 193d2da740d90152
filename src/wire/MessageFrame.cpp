#include "wire/MessageFrame.h"

#include <cstdio>
#include <cstring>
#include <ostream>

namespace tessaroc::wire {

MessageFrame MessageFrame::fromBytes(const std::uint8_t *data)
{
    MessageFrame frame;
    std::memcpy(frame.bytes_.data(), data, kFrameSize);
    return frame;
}

std::uint8_t MessageFrame::byteAt(std::size_t pos) const
{
    return fits(pos, 1) ? bytes_[pos] : 0;
}

void MessageFrame::setByte(std::size_t pos, std::uint8_t value)
{
    if (fits(pos, 1))
        bytes_[pos] = value;
}

std::uint16_t MessageFrame::u16le(std::size_t pos) const
{
    if (!fits(pos, 2))
        return 0;
    return static_cast<std::uint16_t>(bytes_[pos] | (bytes_[pos + 1] << 8));
}

std::uint32_t MessageFrame::u32le(std::size_t pos) const
{
    if (!fits(pos, 4))
        return 0;
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
        value = (value << 8) | bytes_[pos + i];
    return value;
}

std::uint32_t MessageFrame::u32be(std::size_t pos) const
{
    if (!fits(pos, 4))
        return 0;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | bytes_[pos + i];
    return value;
}

std::uint64_t MessageFrame::u64le(std::size_t pos) const
{
    if (!fits(pos, 8))
        return 0;
    std::uint64_t value = 0;
    for (std::size_t i = 8; i-- > 0;)
        value = (value << 8) | bytes_[pos + i];
    return value;
}

void MessageFrame::setU16le(std::size_t pos, std::uint16_t value)
{
    if (!fits(pos, 2))
        return;
    bytes_[pos] = static_cast<std::uint8_t>(value & 0xFF);
    bytes_[pos + 1] = static_cast<std::uint8_t>(value >> 8);
}

void MessageFrame::setU32le(std::size_t pos, std::uint32_t value)
{
    if (!fits(pos, 4))
        return;
    for (std::size_t i = 0; i < 4; ++i)
        bytes_[pos + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
}

void MessageFrame::setU32be(std::size_t pos, std::uint32_t value)
{
    if (!fits(pos, 4))
        return;
    for (std::size_t i = 0; i < 4; ++i)
        bytes_[pos + i] = static_cast<std::uint8_t>((value >> (8 * (3 - i))) & 0xFF);
}

void MessageFrame::setU64le(std::size_t pos, std::uint64_t value)
{
    if (!fits(pos, 8))
        return;
    for (std::size_t i = 0; i < 8; ++i)
        bytes_[pos + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
}

namespace {

void appendByte(std::string &out, std::size_t pos, std::uint8_t value)
{
    char buf[24];
    std::snprintf(buf, sizeof buf, "[%zu]=%02x", pos, value);
    if (!out.empty())
        out += ' ';
    out += buf;
}

} // namespace

std::string describe(const MessageFrame &frame)
{
    std::string out;
    for (std::size_t i = 0; i < kFrameSize; ++i) {
        if (frame.bytes()[i] != 0)
            appendByte(out, i, frame.bytes()[i]);
    }
    return out.empty() ? std::string("(all zero)") : out;
}

std::string describeDifference(const MessageFrame &expected, const MessageFrame &actual)
{
    std::string out;
    for (std::size_t i = 0; i < kFrameSize; ++i) {
        const auto e = expected.bytes()[i];
        const auto a = actual.bytes()[i];
        if (e == a)
            continue;
        char buf[48];
        std::snprintf(buf, sizeof buf, "[%zu] expected %02x got %02x", i, e, a);
        if (!out.empty())
            out += "; ";
        out += buf;
    }
    return out.empty() ? std::string("(equal)") : out;
}

void PrintTo(const MessageFrame &frame, std::ostream *os)
{
    *os << "MessageFrame{" << describe(frame) << '}';
}

} // namespace tessaroc::wire
