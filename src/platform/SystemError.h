#pragma once

#include <QString>

#include <cstring>

namespace tessaroc::platform {

// The system's own words for an error number, in the locale's text.
inline QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace tessaroc::platform
