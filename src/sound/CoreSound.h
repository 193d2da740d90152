#pragma once

#include "core/services/Sound.h"

namespace tessaroc::sound {

class SoundService;

// The sound as the client core starts and stops it, on the program's sound
// player.
class CoreSound final : public core::services::Sound
{
public:
    explicit CoreSound(SoundService &player);

    void InitSoundPaths() override;
    QString SoundTable(int entry) const override;
    void InitSound() override;
    void StopSound() override;
    void PlaySoundFile(const QString &path, bool loop) override;
    void SetSoundVolume(int volume) override;
    void StopMusic() override;

private:
    SoundService &player_;
};

} // namespace tessaroc::sound
