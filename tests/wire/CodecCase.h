#pragma once

#include "wire/MessageFrame.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <type_traits>
#include <variant>

// One row of a codec table: a value of one of the frame types, and every byte
// its frame sets as describe() prints them. Each row is checked both ways.
namespace tessaroc::wire::test {

template<typename... Frames> struct CodecCase
{
    using Value = std::variant<Frames...>;

    const char *name;
    Value value;
    const char *bytes;

    friend void PrintTo(const CodecCase &c, std::ostream *os) { *os << c.name; }
};

template<typename... Frames> MessageFrame encodeAny(const std::variant<Frames...> &value)
{
    return std::visit([](const auto &v) { return v.encode(); }, value);
}

// Decodes with the codec of the value's own type.
template<typename... Frames>
std::variant<Frames...> decodeLike(const std::variant<Frames...> &like, const MessageFrame &frame)
{
    return std::visit(
            [&](const auto &v) -> std::variant<Frames...> {
                return std::decay_t<decltype(v)>::decode(frame);
            },
            like);
}

template<typename Case> void expectBytes(const Case &c)
{
    EXPECT_EQ(describe(encodeAny(c.value)), c.bytes);
}

template<typename Case> void expectRoundTrip(const Case &c)
{
    const MessageFrame frame = encodeAny(c.value);
    const auto back = decodeLike(c.value, frame);
    // A value that reads back otherwise writes other bytes: show them.
    EXPECT_TRUE(back == c.value) << describeDifference(frame, encodeAny(back));
}

inline constexpr auto kCaseName = [](const auto &info) {
    return std::string(info.param.name);
};

} // namespace tessaroc::wire::test
