#pragma once

#include "core/services/Sound.h"

namespace tessaroc::sound {

// The sound as the client core starts and stops it. The sound device is not
// built yet: the file table is filled, and playing is silent.
class CoreSound final : public core::services::Sound
{
public:
    void InitSoundPaths() override;
    QString SoundTable(int entry) const override;
    void InitSound() override { }
    void StopSound() override { }
    void PlaySoundFile(const QString &, bool) override { }
    void SetSoundVolume(int) override { }
    void StopMusic() override { }

private:
    QString table_[7];
};

} // namespace tessaroc::sound
