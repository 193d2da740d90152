#pragma once

#include <QString>

#include <cstddef>
#include <string>

// Reading and replacing a file the program keeps beside itself, which anyone
// who can write the folder may have swapped for something else: the file is
// opened without following a symbolic link and without waiting (a FIFO would
// block the table for good), only a regular file is taken, and never more
// than a given size is read (a device or a huge file would be read into
// memory, or freeze the table while it is parsed).
namespace tessaroc::support {

struct RegularFileRead
{
    enum class Outcome {
        Read, // bytes holds the file
        Missing, // nothing at the path
        Refused, // error says why
    };
    Outcome outcome = Outcome::Missing;
    std::string bytes;
    QString error;
};

// The file's bytes; refused when the path is a symbolic link, anything but a
// regular file, a file of more than mostBytes, or cannot be read.
RegularFileRead ReadRegularFile(const QString &path, std::size_t mostBytes);

// Puts the bytes at the path in one step: written and synced under a fresh
// name in the same folder, then renamed over the path, so a crash leaves the
// old file or the new one, and whatever stood at the path is replaced, never
// written through. The new file keeps the old one's permissions. Empty when
// done, else why not.
QString ReplaceRegularFile(const QString &path, const std::string &bytes);

// Empty when the path holds nothing or a regular file (a link is not
// followed), else what it holds instead.
QString CheckRegularOrMissing(const QString &path);

} // namespace tessaroc::support
