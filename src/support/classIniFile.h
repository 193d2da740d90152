#pragma once

#include "support/ProfileText.h"
#include "support/RegularFile.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tessaroc::support {

// One reading of a settings file: the file read and split into lines once,
// then any number of keys read as classIniFile::GetIniKey reads them. A file
// of thousands of keys costs one pass, where reading key by key would pass
// over it once for every key. A file that could not be read reads as empty.
class IniFileReading
{
public:
    // The reading of a file that holds these bytes.
    explicit IniFileReading(std::string fileBytes);

    QString GetIniKey(const QString &strSection, const QString &strKey) const;

private:
    friend class classIniFile;
    IniFileReading() = default;

    std::optional<profile::Reader> reader_;
};

// Read, write and delete access to one settings file of sections and keys,
// such as the hand records "info.qn" and the chat phrases "chat.ini" beside the
// program. The file is text in the code page (GBK). There is no cache: every
// call reads the file, and every change writes it anew in one step (a crash
// never leaves half a file), keeping every line it does not change as it was.
// A change reads, edits and writes the file while holding a lock file beside
// it (the settings file's name followed by ".lock"), so programs that change
// one file at the same time keep each other's changes.
// Only a regular file is read or changed, and only up to a size: a symbolic
// link, a FIFO, a device, a folder or a larger file in its place is neither
// read (it reads as empty) nor written, and no call waits on it; the lock file
// likewise must be a regular file or missing.
// Failures change nothing and leave error() saying why: a file that exists
// but cannot be read or cannot be written stays as it was, as it does while
// another program holds the lock longer than a few seconds. A missing file,
// section or key reads as the empty text and is no failure.
class classIniFile
{
public:
    // Sets the key's value in the section, creating file, section and key as
    // needed. Line breaks in any of the three texts become spaces, so no text
    // can add lines of its own; each ends at a NUL character. A section or key
    // whose line could never be found again (a key starting with ';' or '[' or
    // holding '=') is not written.
    void WriteIniKey(const QString &strSection, const QString &strKey, const QString &strValue);
    // Replaces the section by one holding these keys, each written as
    // WriteIniKey would, in one change of the file: a record of many keys is
    // in the file whole or not at all, and keys of an older record that the
    // new one does not write are gone.
    void WriteIniSection(const QString &strSection,
                         const std::vector<std::pair<QString, QString>> &keysAndValues);
    // The key's value: without the spaces and tabs around it in the file and
    // without a pair of quotes around it; inside quotes, leading spaces are
    // dropped and trailing ones kept. At most 1023 bytes in the code page,
    // cut before a character that would not fit whole.
    QString GetIniKey(const QString &strSection, const QString &strKey) const;
    // The values of several keys of one section, each as GetIniKey reads it,
    // from one reading of the file.
    QStringList GetIniKeys(const QString &strSection, const QStringList &keys) const;
    // The file read once, for reading many keys.
    IniFileReading Read() const;
    void DelIniKey(const QString &SectionName, const QString &KeyWord);
    // Removes the section's header and every line up to the next section.
    void DelIniSec(const QString &SectionName);

    // The file's full path, kept exactly as given.
    void setINIFileName(const QString &New_IniPath) { path_ = New_IniPath; }
    QString INIFileName() const { return path_; }
    // The largest file read, in bytes (a megabyte unless set); a larger one is
    // not read or changed.
    void setMostBytes(std::size_t bytes) { mostBytes_ = bytes; }
    // Why the last call read or changed nothing; empty when it did its work
    // or found no file.
    const QString &error() const { return error_; }

private:
    using Edit = std::function<std::optional<std::string>(const std::string &text)>;

    RegularFileRead readFile() const;
    // One read-change-write under the lock; a missing file is edited as an
    // empty one only when `createMissing` is set.
    void change(bool createMissing, const Edit &edit) const;

    QString path_;
    // A settings file of sections and keys holds kilobytes; a user whose
    // file grows larger sets its own bound.
    std::size_t mostBytes_ = std::size_t{1} << 20;
    mutable QString error_;
};

} // namespace tessaroc::support
