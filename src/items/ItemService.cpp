#include "items/ItemService.h"

namespace tessaroc::items {

ItemService::~ItemService() = default;

void ItemService::FixBuffPos() { }

void ItemService::rec_state(std::int16_t /*kind*/, std::int16_t & /*value*/) { }

} // namespace tessaroc::items
