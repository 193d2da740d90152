#include "items/ItemService.h"

namespace tessaroc::items {

ItemService::~ItemService() = default;

void ItemService::FixBuffPos() { }

void ItemService::rec_state(std::int16_t /*kind*/, std::int16_t & /*value*/) { }

void ItemService::SetKeyDown(int /*key*/) { }

void ItemService::setbankstate(int /*state*/) { }

} // namespace tessaroc::items
