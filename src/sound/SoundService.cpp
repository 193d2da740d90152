#include "sound/SoundService.h"

namespace tessaroc::sound {

SoundService::~SoundService() = default;

void SoundService::StopSound() { }

bool SoundService::StopMP3(int /*channel*/)
{
    return false;
}

} // namespace tessaroc::sound
