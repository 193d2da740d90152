#include "sound/CoreSound.h"

#include "sound/SoundService.h"

#include <QCoreApplication>

namespace tessaroc::sound {

CoreSound::CoreSound(SoundService &player)
    : player_(player)
{ }

void CoreSound::InitSoundPaths()
{
    player_.InitSoundPaths(QCoreApplication::applicationDirPath());
}

QString CoreSound::SoundTable(int entry) const
{
    const auto &table = player_.paths().SoundTable;
    return entry >= 0 && entry < static_cast<int>(table.size())
            ? table[static_cast<std::size_t>(entry)]
            : QString();
}

void CoreSound::InitSound()
{
    player_.InitSound();
}

void CoreSound::StopSound()
{
    player_.StopSound();
}

void CoreSound::PlaySoundFile(const QString &path, bool loop)
{
    player_.PlaySoundFile(path, loop);
}

void CoreSound::SetSoundVolume(int volume)
{
    player_.SetSoundVolume(volume);
}

void CoreSound::StopMusic()
{
    player_.StopMusic();
}

} // namespace tessaroc::sound
