#include "support/FileExists.h"

#include <QDir>
#include <QFileInfo>

namespace tessaroc::support {

// The path is taken literally: no character in it is a wildcard, and the
// stored name must match name character for character, which the folder's
// listing tells even on a file system that ignores letter case.
bool FileExists(const QString &path, const QString &name)
{
    QString literal = path;
    literal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QFileInfo file(literal);
    const QString wanted = file.fileName();
    if (wanted.isEmpty() || wanted != name)
        return false;
    // A folder and a hidden file are not listed.
    const QStringList stored = file.dir().entryList(QDir::Files | QDir::NoDotAndDotDot);
    return stored.contains(wanted, Qt::CaseSensitive);
}

} // namespace tessaroc::support
