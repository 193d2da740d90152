#include "platform/WebEngineLoader.h"

#include "platform/Descriptor.h"
#include "platform/SystemError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cerrno>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaroc::platform {

namespace {

// Whoever may change the module or swap it in its folder runs code as the
// player: only the player and the superuser may.
QString unsafeBecause(const struct stat &status, const QString &what)
{
    if (status.st_uid != ::geteuid() && status.st_uid != 0)
        return QStringLiteral("%1 belongs to another user (uid %2)").arg(what).arg(status.st_uid);
    if (status.st_mode & (S_IWGRP | S_IWOTH))
        return QStringLiteral("%1 is writable by other users").arg(what);
    return {};
}

} // namespace

WebEngine LoadWebEngine(const QString &folder)
{
    const QString path = QDir(folder).filePath(QLatin1String(kWebEngineModuleFile));
    WebEngine engine;
    const auto refuse = [&](const QString &why) {
        engine.error = QStringLiteral("the web engine module %1 is not loaded: %2").arg(path, why);
        return engine;
    };

    const QByteArray folderName = QFile::encodeName(folder);
    const Descriptor place(::open(folderName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (place.get() < 0)
        return refuse(QStringLiteral("its folder cannot be opened: %1").arg(systemError(errno)));
    struct stat status = {};
    if (::fstat(place.get(), &status) != 0)
        return refuse(systemError(errno));
    if (const QString why = unsafeBecause(status, QStringLiteral("its folder")); !why.isEmpty())
        return refuse(why);

    // Not blocking: a pipe in the module's place fails the check below
    // rather than wait for a writer.
    Descriptor file(::openat(place.get(), kWebEngineModuleFile,
                             O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) {
        const int error = errno;
        return refuse(error == ELOOP ? QStringLiteral("it is a symbolic link")
                                     : systemError(error));
    }
    if (::fstat(file.get(), &status) != 0)
        return refuse(systemError(errno));
    if (!S_ISREG(status.st_mode))
        return refuse(QStringLiteral("it is not a regular file"));
    if (const QString why = unsafeBecause(status, QStringLiteral("it")); !why.isEmpty())
        return refuse(why);

    // The loader opens the very file checked above through its descriptor,
    // whatever happens to the name meanwhile. The loader knows a loaded
    // module by that name: the descriptor stays open as long as the module
    // stays loaded (for good), so that the name never stands for another
    // file later.
    const QByteArray opened = "/proc/self/fd/" + QByteArray::number(file.get());
    void *module = ::dlopen(opened.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return refuse(QString::fromLocal8Bit(::dlerror()));
    engine.create
            = reinterpret_cast<TessarocCreateWebView>(::dlsym(module, "tessaroc_create_web_view"));
    if (!engine.create) {
        const QString why = QString::fromLocal8Bit(::dlerror());
        ::dlclose(module);
        return refuse(why);
    }
    file.release();
    return engine;
}

} // namespace tessaroc::platform
