#pragma once

namespace tessaroc::items {

// What the table window asks of the item library. The library runs only
// while gamedllstate is above 0, which the start-up never allows, so the
// callers check that first and these members are not reached.
class ItemService
{
public:
    virtual ~ItemService();

    // Puts the item views back in place after the table window is restored.
    virtual void FixBuffPos();
};

} // namespace tessaroc::items
