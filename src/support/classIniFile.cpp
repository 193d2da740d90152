#include "support/classIniFile.h"

#include "platform/SystemError.h"
#include "support/ProfileText.h"
#include "wire/GbkText.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tessaroc::support {

namespace {

using platform::systemError;

// The longest value the class reads back, in bytes of the code page.
constexpr std::size_t kMaxValueBytes = 1023;

// A change holds the lock for the few milliseconds of one read and one write;
// a lock older than the stale time was left by a program that died holding
// it.
constexpr int kLockWaitMs = 3000;
constexpr int kStaleLockMs = 10000;

// A text as the file holds it: code-page bytes, ending at a NUL, line breaks
// turned into spaces.
std::string toFileText(const QString &text)
{
    std::string bytes = wire::utf8ToGbk(text.toStdString());
    bytes = bytes.substr(0, bytes.find('\0'));
    for (char &c : bytes) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return bytes;
}

QString fromFileText(std::string_view bytes)
{
    return QString::fromStdString(wire::gbkToUtf8(bytes));
}

// Why a lock file that nobody holds could not be made: mostly its folder,
// which is missing, no folder or not writable. The lock says only that it
// failed, so the folder is asked, and the file itself when the folder seems
// fine.
QString lockNotMade(const QString &lockPath)
{
    const QByteArray path = QFile::encodeName(lockPath);
    const QByteArray folder = QFile::encodeName(QFileInfo(lockPath).absolutePath());
    struct stat info
    {
    };
    if (::stat(folder.constData(), &info) != 0) {
        const int error = errno;
        return QStringLiteral("its folder %1: %2")
                .arg(QFile::decodeName(folder), systemError(error));
    }
    if (!S_ISDIR(info.st_mode))
        return QStringLiteral("its folder %1 is no folder").arg(QFile::decodeName(folder));
    if (::access(folder.constData(), W_OK | X_OK) != 0) {
        const int error = errno;
        return QStringLiteral("its folder %1 cannot be written: %2")
                .arg(QFile::decodeName(folder), systemError(error));
    }
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int error = errno;
        return QStringLiteral("its lock file %1 cannot be made: %2")
                .arg(lockPath, systemError(error));
    }
    ::close(fd);
    ::unlink(path.constData());
    return QStringLiteral("its lock file %1 cannot be made").arg(lockPath);
}

} // namespace

RegularFileRead classIniFile::readFile() const
{
    error_.clear();
    if (path_.isEmpty())
        return {};
    RegularFileRead read = ReadRegularFile(path_, mostBytes_);
    if (read.outcome == RegularFileRead::Outcome::Refused)
        error_ = read.error;
    return read;
}

void classIniFile::change(bool createMissing, const Edit &edit) const
{
    error_.clear();
    if (path_.isEmpty())
        return;
    // The lock reads a lock file it finds: a FIFO or a link to a device in
    // its place would hold the table for good.
    const QString lockPath = path_ + QStringLiteral(".lock");
    if (const QString why = CheckRegularOrMissing(lockPath); !why.isEmpty()) {
        error_ = QStringLiteral("its lock file %1: %2").arg(lockPath, why);
        return;
    }
    QLockFile lock(lockPath);
    lock.setStaleLockTime(kStaleLockMs);
    if (!lock.tryLock(kLockWaitMs)) {
        error_ = lock.error() == QLockFile::LockFailedError
                ? QStringLiteral("its lock file %1 is held").arg(lockPath)
                : lockNotMade(lockPath);
        return;
    }
    const RegularFileRead read = readFile();
    // A file that is there but not read keeps the lines it holds: writing
    // the edit of an empty text would lose them all.
    if (read.outcome == RegularFileRead::Outcome::Refused)
        return;
    if (read.outcome == RegularFileRead::Outcome::Missing && !createMissing)
        return;
    const auto changed = edit(read.bytes);
    if (!changed)
        return;
    error_ = ReplaceRegularFile(path_, *changed);
}

void classIniFile::WriteIniKey(const QString &strSection, const QString &strKey,
                               const QString &strValue)
{
    const std::string section = toFileText(strSection);
    const std::string key = toFileText(strKey);
    const std::string value = toFileText(strValue);
    change(true,
           [&](const std::string &text) { return profile::setString(text, section, key, value); });
}

void classIniFile::WriteIniSection(const QString &strSection,
                                   const std::vector<std::pair<QString, QString>> &keysAndValues)
{
    const std::string section = toFileText(strSection);
    std::vector<std::pair<std::string, std::string>> pairs;
    pairs.reserve(keysAndValues.size());
    for (const auto &[key, value] : keysAndValues)
        pairs.emplace_back(toFileText(key), toFileText(value));
    change(true, [&](const std::string &text) -> std::optional<std::string> {
        // The section is built apart and put at the end in place of the old
        // one: the work grows with the section, not with the file.
        std::string block;
        for (const auto &[key, value] : pairs) {
            if (auto next = profile::setString(block, section, key, value))
                block = std::move(*next);
        }
        if (block.empty())
            return std::nullopt;
        std::string rest = profile::deleteSection(text, section).value_or(text);
        if (!rest.empty() && rest.back() != '\n')
            rest += "\r\n";
        return rest + block;
    });
}

namespace {

// A value as the class gives it: at most kMaxValueBytes, cut before a
// character that would not fit, leading spaces dropped and trailing ones kept.
QString cleanValue(const std::optional<std::string> &value)
{
    if (!value)
        return {};
    QString result = fromFileText(profile::cutAtCharacter(*value, kMaxValueBytes));
    qsizetype lead = 0;
    while (lead < result.size() && result[lead] == QLatin1Char(' '))
        ++lead;
    return result.mid(lead);
}

} // namespace

IniFileReading::IniFileReading(std::string fileBytes)
    : reader_(std::in_place, std::move(fileBytes))
{ }

QString IniFileReading::GetIniKey(const QString &strSection, const QString &strKey) const
{
    if (!reader_)
        return {};
    return cleanValue(reader_->getString(toFileText(strSection), toFileText(strKey)));
}

QString classIniFile::GetIniKey(const QString &strSection, const QString &strKey) const
{
    const RegularFileRead read = readFile();
    if (read.outcome != RegularFileRead::Outcome::Read)
        return {};
    return cleanValue(profile::getString(read.bytes, toFileText(strSection), toFileText(strKey)));
}

QStringList classIniFile::GetIniKeys(const QString &strSection, const QStringList &keys) const
{
    const IniFileReading reading = Read();
    QStringList values;
    values.reserve(keys.size());
    for (const QString &key : keys)
        values << reading.GetIniKey(strSection, key);
    return values;
}

IniFileReading classIniFile::Read() const
{
    RegularFileRead read = readFile();
    if (read.outcome != RegularFileRead::Outcome::Read)
        return {};
    return IniFileReading(std::move(read.bytes));
}

void classIniFile::DelIniKey(const QString &SectionName, const QString &KeyWord)
{
    const std::string section = toFileText(SectionName);
    const std::string key = toFileText(KeyWord);
    change(false, [&](const std::string &text) { return profile::deleteKey(text, section, key); });
}

void classIniFile::DelIniSec(const QString &SectionName)
{
    const std::string section = toFileText(SectionName);
    change(false, [&](const std::string &text) { return profile::deleteSection(text, section); });
}

} // namespace tessaroc::support
