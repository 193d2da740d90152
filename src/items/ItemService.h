#pragma once

#include <cstdint>

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
    // Tells the library a state of the table; kind 1 is the game sounds'
    // switch (-1 on, 0 off). The library takes the value by reference.
    virtual void rec_state(std::int16_t kind, std::int16_t &value);
    // A key the table passes on (F1 to F6), and the bank's state: 2 when a
    // toolbar button or Esc was pressed.
    virtual void SetKeyDown(int key);
    virtual void setbankstate(int state);
};

} // namespace tessaroc::items
