#include "play/PlaySounds.h"

#include "core/CoreContext.h"
#include "sound/SoundFiles.h"

#include <QCoreApplication>

namespace tessaroc::play {

namespace {

constexpr int kFullVolume = 3000;

void play(core::CoreContext &c, std::string_view folder, std::string_view file)
{
    if (!c.state.sound.EffectsOn || c.window.IsMinimised())
        return;
    const QString path = QCoreApplication::applicationDirPath()
            + QString::fromUtf8(folder.data(), static_cast<qsizetype>(folder.size()))
            + QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size()));
    c.sound.PlaySoundFile(path, false);
    c.sound.SetSoundVolume(kFullVolume);
}

} // namespace

void playSharedEffect(core::CoreContext &c, std::string_view file)
{
    play(c, sound::files::kPkFolder, file);
}

void playGameSound(core::CoreContext &c, std::string_view file)
{
    play(c, sound::files::kGameFolder, file);
}

} // namespace tessaroc::play
