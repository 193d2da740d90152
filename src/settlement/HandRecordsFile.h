#pragma once

#include "core/CommandState.h"

#include <QString>

#include <array>

namespace tessaroc::settlement {

class ScoreWindow;

// Where the hand records "info.qn" live: beside the program when its folder
// can be written, else in the user's data folder for the program.
QString HandRecordsPath();

// The hand records: one section "juNum:" & n per settled hand, holding the
// board of the Score window (names, avatar indexes, the eight lists and the
// four colours), read and written through the settings-file class. Only a
// regular file of at most a few megabytes is used: anything else at the path
// (a symbolic link, a FIFO, a device, a folder, a huge file) is neither read
// nor written; the hand is shown all the same and the reason logged.
class HandRecordsFile
{
public:
    explicit HandRecordsFile(QString path)
        : path_(std::move(path))
    { }

    const QString &path() const { return path_; }

    // Writes hand n's section from the window and the seats' names and
    // avatars, in one change of the file.
    void SaveJuRecord(int n, const ScoreWindow &score,
                      const std::array<core::ScoreName, 4> &names) const;
    // Reads hand n's section back into the window; nothing for n = 0. A
    // missing count ends the reading: the later lists keep what they held.
    // A file that cannot be read leaves the window as it was.
    void LoadJuRecord(int n, ScoreWindow &score, const std::array<QString, 20> &avatarPic) const;
    // Removes the name from the folder: a link goes, never what it points to.
    void Delete() const;

private:
    QString path_;
};

// A server text made safe for one value of the file: CR, LF and NUL become
// spaces, so no text can add lines or end early.
QString RecordText(const QString &text);

} // namespace tessaroc::settlement
