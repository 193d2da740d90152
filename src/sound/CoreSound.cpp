#include "sound/CoreSound.h"

#include "sound/SoundService.h"

#include <QCoreApplication>
#include <QTimer>

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
    if (waiting_) {
        waiting_->push_back([this] { player_.InitSound(); });
        return;
    }
    waiting_.emplace();
    waiting_->push_back([this] { player_.InitSound(); });
    QTimer::singleShot(0, &timerContext_, [this] { openNow(); });
}

void CoreSound::openNow()
{
    if (!waiting_)
        return;
    // Taken out first: a call that comes while these run goes straight on.
    std::vector<std::function<void()>> calls = std::move(*waiting_);
    waiting_.reset();
    for (const auto &call : calls)
        call();
}

void CoreSound::whenOpen(std::function<void()> call)
{
    if (waiting_)
        waiting_->push_back(std::move(call));
    else
        call();
}

void CoreSound::StopSound()
{
    whenOpen([this] { player_.StopSound(); });
}

void CoreSound::PlaySoundFile(const QString &path, bool loop)
{
    whenOpen([this, path, loop] { player_.PlaySoundFile(path, loop); });
}

void CoreSound::SetSoundVolume(int volume)
{
    whenOpen([this, volume] { player_.SetSoundVolume(volume); });
}

void CoreSound::StopMusic()
{
    whenOpen([this] { player_.StopMusic(); });
}

} // namespace tessaroc::sound
