#pragma once

#include "wire/HallMessages.h"

#include <cstdint>

namespace tessaroc::core::services {

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
