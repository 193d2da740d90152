#include "Grab.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace tessaroc::test {

QString grabToPng(QWidget &widget, const QString &name, const QRect &part)
{
    const QString configured = qEnvironmentVariable("TESSAROC_GRAB_DIR");
    const QString dir
            = configured.isEmpty() ? QDir::current().filePath(QStringLiteral("grabs")) : configured;
    if (!QDir().mkpath(dir))
        return {};
    const QString path = QDir(dir).filePath(name + QStringLiteral(".png"));
    return widget.grab(part).save(path, "PNG") ? path : QString();
}

} // namespace tessaroc::test
