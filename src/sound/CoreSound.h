#pragma once

#include "core/services/Sound.h"

#include <QObject>

#include <functional>
#include <optional>
#include <vector>

namespace tessaroc::sound {

class SoundService;

// The sound as the client core starts and stops it, on the program's sound
// player. Opening the device waits on the sound server and the background
// loop is loaded with it, both before the table window shows; so the device
// opens as soon as the program's event loop runs, right after the window has
// shown, and every call made until then follows in its order.
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
    // Runs the call now, or after the device has opened when that waits.
    void whenOpen(std::function<void()> call);
    void openNow();

    SoundService &player_;
    std::optional<std::vector<std::function<void()>>> waiting_;
    QObject timerContext_; // a destroyed sound takes its pending opening with it
};

} // namespace tessaroc::sound
