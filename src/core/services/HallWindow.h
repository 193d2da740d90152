#pragma once

#include <cstdint>

namespace tessaroc::core::services {

// The status numbers the table posts to the hall window.
enum TableMsg : std::uint32_t {
    TableMsgConnecting = 0x16,
    TableMsgConnected = 0x303,
    TableMsgInGame = 0x465,
    TableMsgLoginSent = 0x466,
    TableMsgHandStart = 0x467,
    TableMsgNotInGame = 0x400,
};

// The hall window, looked up afresh by its caption at every call.
class HallWindow
{
public:
    virtual ~HallWindow() = default;

    virtual bool FindHall() = 0;
    // Restore or minimise the hall window; without one the program ends
    // (false: the caller stops where it is).
    virtual bool RestoreHall() = 0;
    virtual bool MinimiseHall() = 0;
    // Posts a status number; nothing happens without a hall window.
    virtual void PostToHall(std::uint32_t msg) = 0;
};

} // namespace tessaroc::core::services
