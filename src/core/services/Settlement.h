#pragma once

#include "wire/MessageFrame.h"

namespace tessaroc::core::services {

// What the client core asks of the settlement.
class Settlement
{
public:
    virtual ~Settlement() = default;

    // The settlement display of a result frame held back for the item
    // library.
    virtual void ShowScoreXi(const wire::MessageFrame &frame) = 0;
    // The hand-records file is deleted when the table is left.
    virtual void DeleteHandRecords() = 0;
};

} // namespace tessaroc::core::services
