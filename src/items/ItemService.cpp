#include "items/ItemService.h"

namespace tessaroc::items {

ItemService::~ItemService() = default;

void ItemService::FixBuffPos() { }

} // namespace tessaroc::items
