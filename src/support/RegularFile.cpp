#include "support/RegularFile.h"

#include "platform/Descriptor.h"
#include "platform/SystemError.h"

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaroc::support {

namespace {

using platform::Descriptor;
using platform::systemError;

constexpr std::size_t kChunkBytes = 64 * 1024;
constexpr int kNameAttempts = 16;

QString whatItIs(mode_t mode)
{
    if (S_ISLNK(mode))
        return QStringLiteral("it is a symbolic link");
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a FIFO");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device");
    return QStringLiteral("it is not a regular file");
}

QString tooLarge(std::size_t mostBytes)
{
    return QStringLiteral("it holds more than %1 bytes").arg(mostBytes);
}

bool writeAll(int fd, const std::string &bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

RegularFileRead ReadRegularFile(const QString &path, std::size_t mostBytes)
{
    RegularFileRead result;
    const auto refuse = [&result](QString why) {
        result.outcome = RegularFileRead::Outcome::Refused;
        result.bytes.clear();
        result.error = std::move(why);
        return result;
    };
    const QByteArray name = QFile::encodeName(path);
    Descriptor fd(::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == ENOENT)
            return result;
        return refuse(error == ELOOP ? whatItIs(S_IFLNK) : systemError(error));
    }
    struct stat status = {};
    if (::fstat(fd.get(), &status) != 0)
        return refuse(systemError(errno));
    if (!S_ISREG(status.st_mode))
        return refuse(whatItIs(status.st_mode));
    if (static_cast<std::uintmax_t>(status.st_size) > mostBytes)
        return refuse(tooLarge(mostBytes));

    // The file may grow while it is read; the bound holds all the same.
    result.bytes.reserve(static_cast<std::size_t>(status.st_size));
    std::array<char, kChunkBytes> chunk{};
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return refuse(systemError(errno));
        if (n == 0)
            break;
        result.bytes.append(chunk.data(), static_cast<std::size_t>(n));
        if (result.bytes.size() > mostBytes)
            return refuse(tooLarge(mostBytes));
    }
    result.outcome = RegularFileRead::Outcome::Read;
    return result;
}

QString ReplaceRegularFile(const QString &path, const std::string &bytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat old = {};
    const bool hadFile = ::lstat(name.constData(), &old) == 0 && S_ISREG(old.st_mode);

    // O_EXCL creates the name or fails: nothing already there is opened.
    QByteArray temporary;
    int raw = -1;
    for (int attempt = 0; attempt < kNameAttempts && raw < 0; ++attempt) {
        temporary = name + '.' + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        raw = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (raw < 0 && errno != EEXIST)
            break;
    }
    if (raw < 0)
        return systemError(errno);

    Descriptor fd(raw);
    bool written = writeAll(fd.get(), bytes);
    int error = written ? 0 : errno;
    if (written && hadFile && ::fchmod(fd.get(), old.st_mode & 0777) != 0) {
        written = false;
        error = errno;
    }
    if (written && ::fsync(fd.get()) != 0) {
        written = false;
        error = errno;
    }
    if (!fd.close() && written) {
        written = false;
        error = errno;
    }
    if (written && ::rename(temporary.constData(), name.constData()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        ::unlink(temporary.constData());
        return systemError(error);
    }
    return {};
}

QString CheckRegularOrMissing(const QString &path)
{
    struct stat status = {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT ? QString() : systemError(errno);
    return S_ISREG(status.st_mode) ? QString() : whatItIs(status.st_mode);
}

} // namespace tessaroc::support
