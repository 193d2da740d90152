#pragma once

namespace tessaroc::core {

// What the table window asks of the hall link. The link to the hall window
// is not built yet; until it is, the hall counts as present and nothing is
// sent.
class HallService
{
public:
    virtual ~HallService();

    // Minimises the hall window. False when there is no hall window: the
    // program is then ending and the caller stops where it is.
    virtual bool MinimiseHall();
};

} // namespace tessaroc::core
