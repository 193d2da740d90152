#include "core/HallService.h"

namespace tessaroc::core {

HallService::~HallService() = default;

bool HallService::MinimiseHall()
{
    return true;
}

} // namespace tessaroc::core
