#pragma once

namespace tessaroc::platform {

// What the system reports of itself: the platform family (2 is the NT
// family) and the major version. Some pop-up windows are drawn translucent
// only on the versions that their code names.
struct SystemVersion
{
    int platformId = 0;
    int majorVersion = 0;
};

// This system's answer: the NT family, major version 5, on which every
// translucent pop-up of the table is drawn translucent.
inline SystemVersion GetVersionEx()
{
    return {2, 5};
}

} // namespace tessaroc::platform
