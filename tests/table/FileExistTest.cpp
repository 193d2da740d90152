#include "support/FileExists.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tessaroc::table::test {

namespace {

void touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

} // namespace

// A literal, exact test: the path names one file and its stored name must
// equal the name asked for, letter case included; no character of the path
// is a wildcard.
TEST(FileExists, ExactLiteralNameOfAVisibleFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir d(dir.path());
    touch(d.filePath(QStringLiteral("music.exe")));
    touch(d.filePath(QStringLiteral("Radio.exe")));
    touch(d.filePath(QStringLiteral(".hidden.exe")));
    touch(d.filePath(QStringLiteral("m?sic.exe")));
    ASSERT_TRUE(d.mkdir(QStringLiteral("folder.exe")));
    ASSERT_TRUE(d.mkdir(QStringLiteral("plugin")));

    struct Case
    {
        const char *what;
        QString path;
        QString name;
        bool exists;
    };
    const QString base = dir.path() + QLatin1Char('/');
    const Case cases[] = {
            {"the file", base + QStringLiteral("music.exe"), QStringLiteral("music.exe"), true},
            {"asked in other letter case", base + QStringLiteral("music.exe"),
             QStringLiteral("Music.exe"), false},
            {"stored in other letter case", base + QStringLiteral("radio.exe"),
             QStringLiteral("radio.exe"), false},
            {"no such file", base + QStringLiteral("none.exe"), QStringLiteral("none.exe"), false},
            {"a pattern that would match", base + QStringLiteral("mus*.exe"),
             QStringLiteral("music.exe"), false},
            {"a question mark in a stored name", base + QStringLiteral("m?sic.exe"),
             QStringLiteral("m?sic.exe"), true},
            {"a folder", base + QStringLiteral("folder.exe"), QStringLiteral("folder.exe"), false},
            {"a hidden file", base + QStringLiteral(".hidden.exe"), QStringLiteral(".hidden.exe"),
             false},
            {"through a parent folder", base + QStringLiteral("plugin/../music.exe"),
             QStringLiteral("music.exe"), true},
            {"with backslashes", QString(base + QStringLiteral("plugin\\..\\music.exe")),
             QStringLiteral("music.exe"), true},
            {"a path ending in a separator", base, QString(), false},
            {"an empty path", QString(), QStringLiteral("music.exe"), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(support::FileExists(c.path, c.name), c.exists) << c.what;
}

} // namespace tessaroc::table::test
