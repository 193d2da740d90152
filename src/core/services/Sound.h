#pragma once

#include <QString>

namespace tessaroc::core::services {

// What the client core asks of the sound: the device at start-up, the
// background loop, the clocks' warning tick, and stopping at unload. A
// failure of the device switches the function sounds off (VoiceOn).
class Sound
{
public:
    virtual ~Sound() = default;

    // The sound file names, entries 1 (background loop) to 6 (warning tick).
    virtual void InitSoundPaths() = 0;
    virtual QString SoundTable(int entry) const = 0;
    virtual void InitSound() = 0;
    virtual void StopSound() = 0;
    virtual void PlaySoundFile(const QString &path, bool loop) = 0;
    // 0 to 3000 hundredths of a decibel above -30 dB; 3000 is full volume.
    virtual void SetSoundVolume(int volume) = 0;
    virtual void StopMusic() = 0;
};

} // namespace tessaroc::core::services
