#include "support/FileExists.h"

#include <QFileInfo>

namespace tessaroc::support {

bool FileExists(const QString &path, const QString &name)
{
    const QFileInfo file(path);
    return file.isFile() && !file.isHidden() && file.fileName() == name;
}

} // namespace tessaroc::support
