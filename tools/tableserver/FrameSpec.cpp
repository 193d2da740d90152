#include "FrameSpec.h"

#include "wire/GbkText.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <utility>
#include <vector>

namespace tessaroc::tableserver {

using wire::MessageFrame;

namespace {

constexpr std::array<std::pair<std::uint8_t, const char *>, 20> kCommandNames{{
        {wire::CmdDeal, "CmdDeal"},
        {wire::CmdBidTurn, "CmdBidTurn"},
        {wire::CmdBid, "CmdBid"},
        {wire::CmdChoice, "CmdChoice"},
        {wire::CmdPlayed, "CmdPlayed"},
        {wire::CmdPlay, "CmdPlay"},
        {wire::CmdHandResult, "CmdHandResult"},
        {wire::CmdReadyOrLeave, "CmdReadyOrLeave"},
        {wire::CmdLogin, "CmdLogin"},
        {wire::CmdChat, "CmdChat"},
        {wire::CmdUserInfo, "CmdUserInfo"},
        {wire::CmdUserLeft, "CmdUserLeft"},
        {wire::CmdForcedLeave, "CmdForcedLeave"},
        {wire::CmdReady, "CmdReady"},
        {wire::CmdKeepAlive, "CmdKeepAlive"},
        {wire::CmdReconnect, "CmdReconnect"},
        {wire::CmdReconnectAnswer, "CmdReconnectAnswer"},
        {wire::CmdProp44, "CmdProp44"},
        {wire::CmdProp45, "CmdProp45"},
        {wire::CmdProp46, "CmdProp46"},
}};

[[noreturn]] void fail(std::string_view item, std::string_view why)
{
    throw FrameSpecError("frame description item '" + std::string(item) + "': " + std::string(why));
}

std::uint64_t number(std::string_view text, std::string_view item, int base = 0)
{
    if (base == 0) {
        base = 10;
        if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
            text.remove_prefix(2);
            base = 16;
        }
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        fail(item, "'" + std::string(text) + "' is not a number");
    return value;
}

std::uint8_t byteValue(std::string_view text, std::string_view item, int base = 0)
{
    const auto value = number(text, item, base);
    if (value > 0xFF)
        fail(item, std::string(text) + " does not fit a byte");
    return static_cast<std::uint8_t>(value);
}

std::vector<std::string_view> splitList(std::string_view text)
{
    std::vector<std::string_view> parts;
    while (true) {
        const auto comma = text.find(',');
        parts.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos)
            return parts;
        text.remove_prefix(comma + 1);
    }
}

// Splits at blanks, keeping a double-quoted text (with \" and \\) whole.
std::vector<std::string> tokens(std::string_view description)
{
    std::vector<std::string> out;
    std::string current;
    bool quoted = false;
    for (std::size_t i = 0; i < description.size(); ++i) {
        const char c = description[i];
        if (quoted) {
            if (c == '\\' && i + 1 < description.size()) {
                current += description[++i];
                continue;
            }
            if (c == '"')
                quoted = false;
            current += c;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (!current.empty())
                out.push_back(std::move(current));
            current.clear();
        } else {
            if (c == '"')
                quoted = true;
            current += c;
        }
    }
    if (quoted)
        fail(current, "unterminated quote");
    if (!current.empty())
        out.push_back(std::move(current));
    return out;
}

class Writer
{
public:
    explicit Writer(FrameSpec &spec, std::string_view item)
        : spec_(spec)
        , item_(item)
    { }

    void byte(std::size_t pos, std::uint8_t value)
    {
        if (pos >= wire::kFrameSize)
            fail(item_, "position " + std::to_string(pos) + " is outside the frame");
        spec_.frame.setByte(pos, value);
        spec_.named.set(pos);
    }
    void littleEndian(std::size_t pos, std::uint64_t value, int width)
    {
        for (int i = 0; i < width; ++i)
            byte(pos + static_cast<std::size_t>(i), static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void bigEndian(std::size_t pos, std::uint64_t value, int width)
    {
        for (int i = 0; i < width; ++i)
            byte(pos + static_cast<std::size_t>(i),
                 static_cast<std::uint8_t>(value >> (8 * (width - 1 - i))));
    }

private:
    FrameSpec &spec_;
    std::string_view item_;
};

std::uint8_t commandValue(std::string_view text, std::string_view item)
{
    for (const auto &[code, name] : kCommandNames) {
        if (text == name)
            return code;
    }
    return byteValue(text, item);
}

void applyItem(FrameSpec &spec, std::string_view item)
{
    Writer write(spec, item);
    const auto equals = item.find('=');
    if (equals == std::string_view::npos || equals == 0)
        fail(item, "expected name=value");
    const std::string_view name = item.substr(0, equals);
    const std::string_view value = item.substr(equals + 1);

    if (name == "cmd")
        return write.byte(wire::offset::kCmd, commandValue(value, item));
    if (name == "seat")
        return write.byte(wire::offset::kSeatBit, byteValue(value, item));
    if (name.front() == '[' && name.back() == ']') {
        std::size_t pos = number(name.substr(1, name.size() - 2), item);
        for (const auto part : splitList(value))
            write.byte(pos++, byteValue(part, item, 16));
        return;
    }
    if (name.front() == 'b' && name.find('@') == std::string_view::npos)
        return write.byte(number(name.substr(1), item), byteValue(value, item));

    const auto at = name.find('@');
    if (at == std::string_view::npos)
        fail(item, "unknown item");
    const std::string_view kind = name.substr(0, at);
    const std::size_t pos = number(name.substr(at + 1), item);
    if (kind == "le16")
        return write.littleEndian(pos, number(value, item), 2);
    if (kind == "le32")
        return write.littleEndian(pos, number(value, item), 4);
    if (kind == "be32")
        return write.bigEndian(pos, number(value, item), 4);
    if (kind == "le64")
        return write.littleEndian(pos, number(value, item), 8);
    if (kind == "text") {
        if (value.size() < 2 || value.front() != '"' || value.back() != '"')
            fail(item, "text must be in double quotes");
        const std::string bytes = wire::utf8ToGbk(value.substr(1, value.size() - 2));
        for (std::size_t i = 0; i < bytes.size(); ++i)
            write.byte(pos + i, static_cast<std::uint8_t>(bytes[i]));
        if (pos + bytes.size() < wire::kFrameSize)
            write.byte(pos + bytes.size(), 0);
        return;
    }
    if (kind == "ids") {
        std::size_t at_ = pos;
        for (const auto part : splitList(value))
            write.byte(at_++, byteValue(part, item));
        return;
    }
    if (kind == "cards") {
        std::size_t at_ = pos;
        for (const auto part : splitList(value)) {
            const auto slash = part.find('/');
            const auto slash2 = part.find('/', slash == std::string_view::npos ? 0 : slash + 1);
            if (slash == std::string_view::npos || slash2 == std::string_view::npos)
                fail(item, "a card is face/suit bit/id");
            write.byte(at_, byteValue(part.substr(slash + 1, slash2 - slash - 1), item));
            write.byte(at_ + 1, byteValue(part.substr(0, slash), item));
            write.byte(at_ + 2, 0);
            write.byte(at_ + 3, byteValue(part.substr(slash2 + 1), item));
            at_ += 4;
        }
        return;
    }
    fail(item, "unknown item");
}

} // namespace

FrameSpec parseFrameSpec(std::string_view description)
{
    FrameSpec spec;
    for (const std::string &item : tokens(description))
        applyItem(spec, item);
    return spec;
}

MessageFrame frameFrom(std::string_view description)
{
    return parseFrameSpec(description).frame;
}

bool matchesSpec(const MessageFrame &frame, const FrameSpec &pattern, std::string *why)
{
    bool ok = true;
    std::string out;
    for (std::size_t pos = 0; pos < wire::kFrameSize; ++pos) {
        if (!pattern.named.test(pos) || frame.byteAt(pos) == pattern.frame.byteAt(pos))
            continue;
        ok = false;
        if (why) {
            char buf[48];
            std::snprintf(buf, sizeof buf, "[%zu] expected %02x got %02x", pos,
                          pattern.frame.byteAt(pos), frame.byteAt(pos));
            if (!out.empty())
                out += "; ";
            out += buf;
        }
    }
    if (why)
        *why = std::move(out);
    return ok;
}

std::string hexDump(const MessageFrame &frame)
{
    std::string out;
    for (std::size_t row = 0; row < wire::kFrameSize; row += 16) {
        char line[80];
        int used = std::snprintf(line, sizeof line, "%3zu:", row);
        for (std::size_t i = row; i < row + 16 && i < wire::kFrameSize; ++i)
            used += std::snprintf(line + used, sizeof line - static_cast<std::size_t>(used),
                                  " %02x", frame.byteAt(i));
        out += line;
        out += '\n';
    }
    return out;
}

std::string commandName(std::uint8_t cmd)
{
    for (const auto &[code, name] : kCommandNames) {
        if (code == cmd)
            return name;
    }
    return std::to_string(cmd);
}

} // namespace tessaroc::tableserver
