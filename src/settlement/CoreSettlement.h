#pragma once

#include "core/services/Settlement.h"

namespace tessaroc::settlement {

// The settlement as the client core reaches it: the held-back settlement
// display (only ever with the item library, which stays off) and the
// hand-records file "info.qn" beside the program, deleted when the table is
// left.
class CoreSettlement final : public core::services::Settlement
{
public:
    void ShowScoreXi(const wire::MessageFrame &) override { }
    void DeleteHandRecords() override;
};

} // namespace tessaroc::settlement
