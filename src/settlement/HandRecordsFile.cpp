#include "settlement/HandRecordsFile.h"

#include "settlement/ListBoxes.h"
#include "settlement/ScoreWindow.h"
#include "support/PictureStore.h"
#include "support/classIniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace tessaroc::settlement {

namespace {

const QString kFileName = QStringLiteral("info.qn");
// More lines than any board holds; a count beyond it in a changed file is
// not followed.
constexpr int kMostLines = 4096;
constexpr int kAvatars = 20;
// One hand's section weighs about 2 KB on the plain board and 4 KB on the
// rule variant's with bombs, tasks and item lines (30-odd lines a seat), so
// an evening of a few hundred hands writes about a megabyte. A file beyond
// this bound, some two thousand of the heaviest hands, was not written by a
// stay at one table: it is not read, and not rewritten after every hand.
constexpr std::size_t kMostFileBytes = std::size_t{8} << 20;

QString section(int n)
{
    return QStringLiteral("juNum:") + QString::number(n);
}

QString nameKey(int i)
{
    return QStringLiteral("name( ") + QString::number(i) + QStringLiteral(" )");
}

QString avatarKey(int i)
{
    return QStringLiteral("PicIndex( ") + QString::number(i) + QStringLiteral(" )");
}

QString countKey(int j)
{
    return QStringLiteral("count( ") + QString::number(j) + QStringLiteral(" )");
}

support::classIniFile recordsFile(const QString &path)
{
    support::classIniFile file;
    file.setINIFileName(path);
    file.setMostBytes(kMostFileBytes);
    return file;
}

// The table goes on without the file; what was not done and why go to the
// log.
void logFailure(const QString &path, const QString &what, const QString &why)
{
    std::fprintf(stderr, "tessaroc: the hand records file %s: %s: %s\n", qPrintable(path),
                 qPrintable(what), qPrintable(why));
}

QString lineKey(int j, int k)
{
    return countKey(j) + QStringLiteral("( ") + QString::number(k) + QStringLiteral(" )");
}

QString colourKey(int i)
{
    return countKey(i) + QStringLiteral(" ForeColor");
}

} // namespace

QString HandRecordsPath()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(programDir).isWritable())
        return QDir(programDir).filePath(kFileName);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // Without its folder no hand is saved; the table goes on all the same,
    // and the log says what stood in the way.
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(data).toStdString(), error);
    if (error)
        std::fprintf(stderr, "tessaroc: the folder %s of the hand records cannot be made: %s\n",
                     qPrintable(data), error.message().c_str());
    return QDir(data).filePath(kFileName);
}

QString RecordText(const QString &text)
{
    QString safe = text;
    for (QChar &c : safe) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar(0))
            c = QLatin1Char(' ');
    }
    return safe;
}

void HandRecordsFile::SaveJuRecord(int n, const ScoreWindow &score,
                                   const std::array<core::ScoreName, 4> &names) const
{
    std::vector<std::pair<QString, QString>> keys;
    for (int i = 0; i < 4; ++i) {
        const core::ScoreName &name = names[static_cast<std::size_t>(i)];
        keys.emplace_back(nameKey(i), RecordText(QString::fromStdString(name.name)));
        keys.emplace_back(avatarKey(i), RecordText(QString::fromStdString(name.face)));
    }
    for (int j = 0; j < 8; ++j) {
        const QStringList lines = ListLines(score.State(j));
        keys.emplace_back(countKey(j), QString::number(lines.size()));
        for (int k = 0; k < lines.size(); ++k)
            keys.emplace_back(lineKey(j, k), RecordText(lines[k]));
    }
    for (int i = 0; i < 4; ++i)
        keys.emplace_back(colourKey(i), QString::number(score.StateColour(i)));
    support::classIniFile file = recordsFile(path_);
    file.WriteIniSection(section(n), keys);
    if (!file.error().isEmpty())
        logFailure(path_, QStringLiteral("hand %1 is not saved").arg(n), file.error());
}

void HandRecordsFile::LoadJuRecord(int n, ScoreWindow &score,
                                   const std::array<QString, 20> &avatarPic) const
{
    if (n == 0)
        return;
    const support::classIniFile file = recordsFile(path_);
    const QString sec = section(n);
    // A file that cannot be read leaves the window as it was: both readings
    // come before the first change.
    const auto unreadable = [&] {
        if (file.error().isEmpty())
            return false;
        logFailure(path_, QStringLiteral("hand %1 is not shown again").arg(n), file.error());
        return true;
    };

    // The names, avatars, counts and colours first; then the lines the
    // counts name.
    QStringList keys;
    for (int i = 0; i < 4; ++i)
        keys << nameKey(i) << avatarKey(i) << colourKey(i);
    for (int j = 0; j < 8; ++j)
        keys << countKey(j);
    const QStringList heads = file.GetIniKeys(sec, keys);
    if (unreadable())
        return;
    const auto head = [&](int index) {
        return heads.value(index);
    };

    // Lists up to the first missing count; the later lists and the colours
    // keep what they held.
    std::array<int, 8> counts{};
    int lists = 0;
    QStringList lineKeys;
    for (; lists < 8; ++lists) {
        bool ok = false;
        const int count = head(12 + lists).toInt(&ok);
        if (!ok || count < 0)
            break;
        counts[static_cast<std::size_t>(lists)] = std::min(count, kMostLines);
        for (int k = 0; k < counts[static_cast<std::size_t>(lists)]; ++k)
            lineKeys << lineKey(lists, k);
    }
    const QStringList values = file.GetIniKeys(sec, lineKeys);
    if (unreadable())
        return;

    for (int i = 0; i < 4; ++i) {
        score.ID(i).setCaption(head(3 * i));
        bool ok = false;
        const int k = head(3 * i + 1).toInt(&ok);
        if (ok && k >= 0 && k < kAvatars) {
            bool idOk = false;
            const int id = avatarPic[static_cast<std::size_t>(k)].toInt(&idOk);
            if (idOk)
                support::LoadGifResource(static_cast<std::int16_t>(id), u"GIF", &score.Tou(i));
        }
    }
    qsizetype next = 0;
    for (int j = 0; j < lists; ++j) {
        const int c = counts[static_cast<std::size_t>(j)];
        QListWidget &list = score.State(j);
        while (list.count() < c)
            list.addItem(QStringLiteral(" "));
        while (list.count() > c)
            delete list.takeItem(list.count() - 1);
        for (int k = 0; k < c; ++k) {
            const QString value = values.value(next++);
            list.item(k)->setText(value.isEmpty() ? QStringLiteral(" ") : value);
        }
    }
    if (lists < 8)
        return;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const int colour = head(3 * i + 2).toInt(&ok);
        if (ok && colour >= 0 && colour <= 0xFFFFFF)
            score.setSeatColour(i, colour);
    }
}

void HandRecordsFile::Delete() const
{
    if (::unlink(QFile::encodeName(path_).constData()) == 0 || errno == ENOENT)
        return;
    const int error = errno;
    logFailure(path_, QStringLiteral("it is not deleted on leaving the table"),
               QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace tessaroc::settlement
