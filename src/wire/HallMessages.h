#pragma once

#include <cstdint>

// The window-message numbers the table and the hall exchange over the hall
// link. They are the hall's protocol, so the client and the hall stand-in take
// them from here and nowhere else.
namespace tessaroc::wire {

// The system command the table sends (and waits on) to restore or minimise
// the hall window; the command travels in wParam.
inline constexpr std::uint32_t kSysCommand = 0x112;
inline constexpr std::int64_t kScRestore = 0xF120;
inline constexpr std::int64_t kScMinimise = 0xF020;

// The hall's requests to the table window.
inline constexpr std::uint32_t kHallMsgAskInGame = 0x465;
inline constexpr std::uint32_t kHallMsgAskClose = 0x303;
inline constexpr std::uint32_t kHallMsgLeave = 0x400;
inline constexpr std::uint32_t kHallMsgReconnect = 0x16;

// What the table posts to the hall window, both parameters 0: its progress
// and its answers to the requests above.
inline constexpr std::uint32_t kTableMsgConnecting = 0x16;
inline constexpr std::uint32_t kTableMsgConnected = 0x303;
inline constexpr std::uint32_t kTableMsgInGame = 0x465;
inline constexpr std::uint32_t kTableMsgLoginSent = 0x466;
inline constexpr std::uint32_t kTableMsgHandStart = 0x467;
inline constexpr std::uint32_t kTableMsgNotInGame = 0x400;

} // namespace tessaroc::wire
