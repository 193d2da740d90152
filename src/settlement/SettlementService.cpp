#include "settlement/SettlementService.h"

namespace tessaroc::settlement {

SettlementService::~SettlementService() = default;

void SettlementService::ClearHeroTotals() { }

void SettlementService::ResetScoreColours() { }

void SettlementService::HideScore() { }

void SettlementService::ResetRecords() { }

} // namespace tessaroc::settlement
