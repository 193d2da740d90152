#include "settlement/CoreSettlement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace tessaroc::settlement {

void CoreSettlement::DeleteHandRecords()
{
    QFile::remove(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("info.qn")));
}

} // namespace tessaroc::settlement
