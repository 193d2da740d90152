#include "sound/CoreSound.h"

#include <QCoreApplication>
#include <QDir>

namespace tessaroc::sound {

void CoreSound::InitSoundPaths()
{
    // Shared sound folders lie beside the program's folder.
    const QString shared
            = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../sound/"));
    table_[1] = shared + QStringLiteral("music/back.wav");
    table_[6] = shared + QStringLiteral("game/tick.wav");
}

QString CoreSound::SoundTable(int entry) const
{
    return entry >= 1 && entry <= 6 ? table_[entry] : QString();
}

} // namespace tessaroc::sound
