#include "support/classIniFile.h"

#include "OtherUser.h"
#include "support/ProfileText.h"
#include "wire/GbkText.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessaroc::support {
namespace {

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// A settings file in a fresh folder, with its bytes at hand.
class IniFixture
{
public:
    IniFixture() { ini.setINIFileName(dir.filePath(QStringLiteral("info.qn"))); }

    void write(const std::string &bytes)
    {
        QFile file(ini.INIFileName());
        file.open(QIODevice::WriteOnly);
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    std::optional<std::string> bytes() const
    {
        QFile file(ini.INIFileName());
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll().toStdString();
    }

    QTemporaryDir dir;
    classIniFile ini;
};

struct EditCase
{
    const char *name;
    std::optional<std::string> before; // nothing: no file
    std::function<void(classIniFile &)> edit;
    std::optional<std::string> after;
};

void PrintTo(const EditCase &c, std::ostream *os)
{
    *os << c.name;
}

class IniFileEdits : public ::testing::TestWithParam<EditCase>
{
};

TEST_P(IniFileEdits, WriteExactlyTheseBytes)
{
    IniFixture f;
    if (GetParam().before)
        f.write(*GetParam().before);
    GetParam().edit(f.ini);
    EXPECT_EQ(f.bytes(), GetParam().after) << GetParam().name;
}

void set(classIniFile &ini, const char *section, const char *key, const char *value)
{
    ini.WriteIniKey(text(section), text(key), text(value));
}

INSTANTIATE_TEST_SUITE_P(
        Cases, IniFileEdits,
        ::testing::Values(
                EditCase{"missingFileIsCreated", std::nullopt,
                         [](classIniFile &i) { set(i, "Game", "Count", "3"); },
                         "[Game]\r\nCount=3\r\n"},
                EditCase{"missingSectionIsAddedInTheFilesLineEnding", "[A]\nx=1\n",
                         [](classIniFile &i) { set(i, "B", "y", "2"); }, "[A]\nx=1\n[B]\ny=2\n"},
                EditCase{"keyIsReplacedAndOtherLinesStayAsTheyWere",
                         "; records\r\n[Game]\r\n  Count = 3 \r\n\tName=a  \r\n",
                         [](classIniFile &i) { set(i, "game", "COUNT", "4"); },
                         "; records\r\n[Game]\r\nCount=4\r\n\tName=a  \r\n"},
                EditCase{"newKeyGoesBeforeTheBlankLinesOfItsSection",
                         "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n",
                         [](classIniFile &i) { set(i, "A", "z", "3"); },
                         "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
                EditCase{"firstOfDuplicateKeysIsWritten", "[A]\nk=1\nk=2\n",
                         [](classIniFile &i) { set(i, "A", "k", "9"); }, "[A]\nk=9\nk=2\n"},
                EditCase{"firstOfDuplicateSectionsIsWritten", "[A]\nk=1\n[A]\nm=2\n",
                         [](classIniFile &i) { set(i, "A", "m", "3"); },
                         "[A]\nk=1\nm=3\n[A]\nm=2\n"},
                EditCase{"lastLineWithoutEndingGetsOne", "[A]\nx=1",
                         [](classIniFile &i) { set(i, "A", "y", "2"); }, "[A]\nx=1\ny=2\n"},
                EditCase{"textsGoOutInTheCodePage", std::nullopt,
                         [](classIniFile &i) { set(i, "玩家", "PicIndex( 0 )", "中文"); },
                         "[\xCD\xE6\xBC\xD2]\r\nPicIndex( 0 )=\xD6\xD0\xCE\xC4\r\n"},
                EditCase{"sameValueLeavesTheFileUnwritten", "[A]\r\nk = 1\r\n",
                         [](classIniFile &i) { set(i, "A", "k", "1"); }, "[A]\r\nk = 1\r\n"},
                EditCase{"valueSpacesAreWrittenAsGiven", "[A]\r\n",
                         [](classIniFile &i) { set(i, "A", "k", "  v  "); }, "[A]\r\nk=  v  \r\n"},
                EditCase{"lineBreaksCannotAddLines", std::nullopt,
                         [](classIniFile &i) { set(i, "A", "k", "x\r\n[B]\ny=1"); },
                         "[A]\r\nk=x  [B] y=1\r\n"},
                EditCase{"deleteKey", "[A]\r\nx=1\r\ny=2\r\n",
                         [](classIniFile &i) { i.DelIniKey(text("a"), text("X")); },
                         "[A]\r\ny=2\r\n"},
                EditCase{"deleteMissingKeyChangesNothing", "[A]\r\nx=1\r\n",
                         [](classIniFile &i) { i.DelIniKey(text("A"), text("z")); },
                         "[A]\r\nx=1\r\n"},
                EditCase{"deleteSectionUpToTheNext", "[A]\nx=1\n\n[B]\ny=2\n",
                         [](classIniFile &i) { i.DelIniSec(text("A")); }, "[B]\ny=2\n"},
                EditCase{"deleteLastSection", "[A]\nx=1\n[B]\ny=2",
                         [](classIniFile &i) { i.DelIniSec(text("b")); }, "[A]\nx=1\n"},
                EditCase{"deletesNeverCreateAFile", std::nullopt,
                         [](classIniFile &i) {
                             i.DelIniKey(text("A"), text("x"));
                             i.DelIniSec(text("A"));
                         },
                         std::nullopt}),
        [](const auto &param) { return std::string(param.param.name); });

struct ReadCase
{
    const char *name;
    std::optional<std::string> file;
    const char *section;
    const char *key;
    QString value;
};

void PrintTo(const ReadCase &c, std::ostream *os)
{
    *os << c.name;
}

class IniFileReads : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(IniFileReads, GiveTheCleanedValue)
{
    IniFixture f;
    if (GetParam().file)
        f.write(*GetParam().file);
    const QString section = text(GetParam().section);
    const QString key = text(GetParam().key);
    EXPECT_EQ(f.ini.GetIniKey(section, key), GetParam().value);
    // Reading many keys at once reads each alike.
    EXPECT_EQ(f.ini.Read().GetIniKey(section, key), GetParam().value);
    EXPECT_EQ(f.ini.GetIniKeys(section, {key}), QStringList{GetParam().value});
}

INSTANTIATE_TEST_SUITE_P(
        Cases, IniFileReads,
        ::testing::Values(
                ReadCase{"missingFile", std::nullopt, "A", "k", {}},
                ReadCase{"missingSection", "[B]\r\nk=1\r\n", "A", "k", {}},
                ReadCase{"missingKey", "[A]\r\nj=1\r\n", "A", "k", {}},
                ReadCase{"keyOfAnotherSection", "[A]\r\nj=1\r\n[B]\r\nk=2\r\n", "A", "k", {}},
                ReadCase{"keyBeforeAnySection", "k=1\r\n[A]\r\n", "A", "k", {}},
                ReadCase{"namesIgnoreCaseAndSpaces", "[ Game ]\n  COUNT  =  7  \n", "game",
                         " count ", text("7")},
                ReadCase{"lfLineEndings", "[A]\nk=1\nm=2", "A", "m", text("2")},
                ReadCase{"firstOfDuplicates", "[A]\nk=1\nk=2\n[A]\nk=3\n", "A", "k", text("1")},
                ReadCase{"keyWithSpacesAndParentheses", "[Pic]\r\nPicIndex( 0 ) = 12\r\n", "Pic",
                         "PicIndex( 0 )", text("12")},
                ReadCase{"codePageValue", "[\xCD\xE6\xBC\xD2]\r\nname=\xD6\xD0\xCE\xC4\r\n", "玩家",
                         "name", text("中文")},
                ReadCase{"quotesKeepTrailingSpaces", "[A]\r\nk=\"  abc  \"\r\n", "A", "k",
                         text("abc  ")},
                ReadCase{"singleQuotes", "[A]\r\nk='x'\r\n", "A", "k", text("x")},
                ReadCase{"unmatchedQuoteStays", "[A]\r\nk=\"x\r\n", "A", "k", text("\"x")},
                ReadCase{"keyWithoutEquals", "[A]\r\nk\r\n", "A", "k", {}},
                ReadCase{"commentIsNoKey", "[A]\r\n; k=1\r\n", "A", "; k", {}},
                ReadCase{"valueEndsAtNul", std::string("[A]\r\nk=ab\0cd\r\n", 14), "A", "k",
                         text("ab")},
                // Second bytes that look like letters belong to their
                // characters: 0x81 0x61 and 0x81 0x41 are two characters.
                ReadCase{"secondBytesAreNotLetters",
                         "[\x81\x61]\r\nk=1\r\n",
                         "\xE4\xB8\x84",
                         "k",
                         {}},
                ReadCase{"secondByteBracketIsNoEnd", "[\x81\x5D]\r\nk=1\r\n", "\xE4\xB9\x9A", "k",
                         text("1")}),
        [](const auto &param) { return std::string(param.param.name); });

// A record of many keys, such as a hand's lines, costs one pass over the
// file, not one for each key.
TEST(IniFile, ManyKeysAreReadInOnePass)
{
    IniFixture f;
    std::string bytes = "[other]\r\nk1=no\r\n[A]\r\n";
    QStringList keys, values;
    for (int i = 0; i < 500; ++i) {
        bytes += "k" + std::to_string(i) + "=" + std::to_string(i * 7) + "\r\n";
        keys << QStringLiteral("K%1").arg(i);
        values << QString::number(i * 7);
    }
    f.write(bytes);
    keys << text("missing");
    values << QString();

    const std::uint64_t before = profile::textPasses();
    EXPECT_EQ(f.ini.GetIniKeys(text("a"), keys), values);
    EXPECT_EQ(profile::textPasses() - before, 1u);

    const IniFileReading reading = f.ini.Read();
    EXPECT_EQ(reading.GetIniKey(text("A"), text("k499")), text("3493"));
    EXPECT_EQ(reading.GetIniKey(text("other"), text("k1")), text("no"));
    EXPECT_EQ(profile::textPasses() - before, 2u);
}

TEST(IniFile, LongValueIsCutAtACharacterBoundary)
{
    IniFixture f;
    std::string value = "ab";
    for (int i = 0; i < 600; ++i)
        value += "\xD6\xD0"; // 中
    f.write("[A]\r\nk=" + value + "\r\n");
    const QString read = f.ini.GetIniKey(text("A"), text("k"));
    EXPECT_EQ(read, text("ab") + QString(510, QChar(0x4E2D)));
    EXPECT_EQ(wire::utf8ToGbk(read.toStdString()).size(), 1022u);

    f.write("[A]\r\nk=" + std::string(1500, 'x') + "\r\n");
    EXPECT_EQ(f.ini.GetIniKey(text("A"), text("k")).size(), 1023);
}

TEST(IniFile, ValuesReadBackAsWritten)
{
    IniFixture f;
    const QString values[]
            = {text("1"), text("中文 and text"), text("PicIndex( 0 )"), text("a=b=c"), text("€ 5")};
    for (int i = 0; i < 5; ++i)
        f.ini.WriteIniKey(text("玩家记录"), QStringLiteral("Key %1").arg(i), values[i]);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(f.ini.GetIniKey(text("玩家记录"), QStringLiteral("key %1").arg(i)), values[i]);

    f.ini.DelIniKey(text("玩家记录"), text("Key 2"));
    EXPECT_EQ(f.ini.GetIniKey(text("玩家记录"), text("Key 2")), QString());
    EXPECT_EQ(f.ini.GetIniKey(text("玩家记录"), text("Key 3")), values[3]);
    f.ini.DelIniSec(text("玩家记录"));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(f.ini.GetIniKey(text("玩家记录"), QStringLiteral("Key %1").arg(i)), QString());
}

TEST(IniFile, ASectionIsReplacedWholeAndOthersKeepTheirLines)
{
    IniFixture f;
    f.ini.WriteIniKey(text("a"), text("k"), text("1"));
    f.ini.WriteIniSection(text("b"), {{text("x"), text("old")}, {text("y"), text("2")}});
    f.ini.WriteIniKey(text("c"), text("k"), text("3"));
    f.ini.WriteIniSection(text("b"), {{text("x"), text(" 中文 ")}, {text("bad=key"), text("5")}});
    EXPECT_EQ(f.ini.GetIniKeys(text("b"), {text("x"), text("y"), text("bad")}),
              (QStringList{text("中文"), QString(), QString()}));
    EXPECT_EQ(f.ini.GetIniKey(text("a"), text("k")), text("1"));
    EXPECT_EQ(f.ini.GetIniKey(text("c"), text("k")), text("3"));
    const auto bytes = f.bytes();
    ASSERT_TRUE(bytes);
    EXPECT_EQ(QByteArray::fromStdString(*bytes).count("[b]"), 1);
}

TEST(IniFile, TwoInstancesOnOnePathSeeEachOthersWrites)
{
    IniFixture f;
    classIniFile other;
    other.setINIFileName(f.ini.INIFileName());
    f.ini.WriteIniKey(text("A"), text("k"), text("1"));
    EXPECT_EQ(other.GetIniKey(text("A"), text("k")), text("1"));
    other.WriteIniKey(text("A"), text("k"), text("2"));
    EXPECT_EQ(f.ini.GetIniKey(text("A"), text("k")), text("2"));
}

TEST(IniFile, PathIsKeptAsGivenAndBadPathsFailQuietly)
{
    classIniFile ini;
    EXPECT_EQ(ini.INIFileName(), QString());
    ini.setINIFileName(text("C:\\game\\info.qn"));
    EXPECT_EQ(ini.INIFileName(), text("C:\\game\\info.qn"));

    ini.setINIFileName(text("/nonexistent-folder/deeper/info.qn"));
    ini.WriteIniKey(text("A"), text("k"), text("1"));
    EXPECT_EQ(ini.GetIniKey(text("A"), text("k")), QString());
    ini.setINIFileName({});
    ini.WriteIniKey(text("A"), text("k"), text("1"));
    EXPECT_EQ(ini.GetIniKey(text("A"), text("k")), QString());
}

// A change that cannot take the lock because the lock file cannot be made
// says what stands in the way, with the system's own words; "is held" is for
// a lock another program holds.
TEST(IniFile, ALockFileThatCannotBeMadeSaysWhy)
{
    QTemporaryDir dir;
    const QString locked = dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(locked));
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0500), 0);
    struct Case
    {
        const char *what;
        QString folder;
        QString why;
        bool needsOrdinaryUser;
    };
    const Case cases[] = {
            {"missing folder", dir.filePath(QStringLiteral("missing/deeper")),
             QString::fromLocal8Bit(std::strerror(ENOENT)), false},
            // The superuser writes into any folder.
            {"read-only folder", locked, QString::fromLocal8Bit(std::strerror(EACCES)), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsOrdinaryUser && ::geteuid() == 0)
            continue;
        classIniFile ini;
        ini.setINIFileName(c.folder + QStringLiteral("/info.qn"));
        ini.WriteIniKey(text("A"), text("k"), text("1"));
        const std::string error = ini.error().toStdString();
        EXPECT_NE(error.find("its folder " + c.folder.toStdString()), std::string::npos) << error;
        EXPECT_NE(error.find(c.why.toStdString()), std::string::npos) << error;
        EXPECT_EQ(error.find("is held"), std::string::npos) << error;
    }
}

// Names whose line would never be found again: every write would add one
// more line and the file would grow without end, so none is written.
TEST(IniFile, NamesThatCannotBeReadBackAreNotWritten)
{
    const char *const keys[] = {";k", "  ;k", "[k", "[k]", "a=b", "=", "k="};
    const std::string before = "[A]\r\nx=1\r\n";
    for (const char *key : keys) {
        SCOPED_TRACE(key);
        IniFixture f;
        f.ini.WriteIniKey(text("A"), text(key), text("v]"));
        EXPECT_EQ(f.bytes(), std::nullopt) << "no file is made for it";
        f.write(before);
        for (int i = 0; i < 3; ++i)
            f.ini.WriteIniKey(text("A"), text(key), text("v]"));
        EXPECT_EQ(f.bytes(), before);
        EXPECT_FALSE(QFile::exists(f.ini.INIFileName() + QStringLiteral(".lock")));
    }
}

// The text editor under the class takes raw bytes, where line breaks and a
// closing bracket swallowed by a lead byte can reach it too.
TEST(ProfileText, RefusesEditsThatWouldNotReadBack)
{
    struct Case
    {
        const char *what;
        std::string section, key, value;
        bool written;
    };
    const std::vector<Case> cases = {
            {"plain", "A", "k", "v", true},
            {"a bracket and ';' inside a section name", "a];[b", "k", "v", true},
            {"a double-byte character ending in ']'", "\x81\x5D", "k", "v", true},
            {"a section ending in a lone lead byte", "A\x81", "k", "v", false},
            {"a line break in the section", "A\nB", "k", "v", false},
            {"a line break in the key", "A", "k\rj", "v", false},
            {"a line break in the value", "A", "k", "v\nw=1", false},
            {"a comment key", "A", " ;k", "v", false},
            {"a header key", "A", "[k", "]", false},
            {"a key holding '='", "A", "k=j", "v", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = "[A]\nx=1\n";
        const auto once = profile::setString(text, c.section, c.key, c.value);
        ASSERT_EQ(once.has_value(), c.written);
        if (once) {
            EXPECT_EQ(profile::getString(*once, c.section, c.key), c.value);
            EXPECT_EQ(profile::setString(*once, c.section, c.key, c.value), std::nullopt);
        }
    }
}

// A settings file this program may write but not read: writing the one key
// over it would lose every other line it holds.
TEST(IniFile, AFileThatCannotBeReadIsLeftAsItIs)
{
    IniFixture f;
    const std::string before = "[A]\r\nx=1\r\n[B]\r\ny=2\r\n";
    f.write(before);
    const QByteArray folder = QFile::encodeName(f.dir.path());
    const QByteArray file = QFile::encodeName(f.ini.INIFileName());
    ASSERT_EQ(::chmod(file.constData(), 0200), 0);

    // Permissions do not bind root: the edit then runs as another user who
    // owns folder and file.
    std::optional<test::OtherUser> user;
    if (::geteuid() == 0) {
        QString why;
        user = test::otherUser(why);
        if (!user)
            GTEST_SKIP() << why.toStdString();
        ASSERT_EQ(::chown(folder.constData(), user->uid, user->gid), 0);
        ASSERT_EQ(::chown(file.constData(), user->uid, user->gid), 0);
        ASSERT_EQ(::setegid(user->gid), 0);
        ASSERT_EQ(::seteuid(user->uid), 0);
    }
    const QString read = f.ini.GetIniKey(text("A"), text("x"));
    f.ini.WriteIniKey(text("A"), text("k"), text("1"));
    f.ini.DelIniKey(text("B"), text("y"));
    f.ini.DelIniSec(text("A"));
    if (user) {
        ASSERT_EQ(::seteuid(0), 0);
        ASSERT_EQ(::setegid(0), 0);
    }
    ASSERT_EQ(::chmod(file.constData(), 0600), 0);

    EXPECT_EQ(read, QString());
    EXPECT_EQ(f.bytes(), before);
}

// The bound counts the whole file: one byte beyond it and the file is
// neither read nor changed, and the reason is there for the caller's log.
TEST(IniFile, AFileBeyondTheBoundIsNeitherReadNorChanged)
{
    IniFixture f;
    const std::string atBound = "[A]\r\nx=1\r\n;" + std::string(20, '-') + "\r\n";
    f.ini.setMostBytes(atBound.size());
    f.write(atBound);
    EXPECT_EQ(f.ini.GetIniKey(text("A"), text("x")), text("1"));
    EXPECT_TRUE(f.ini.error().isEmpty());

    const std::string beyond = atBound + ";";
    f.write(beyond);
    EXPECT_EQ(f.ini.GetIniKey(text("A"), text("x")), QString());
    EXPECT_FALSE(f.ini.error().isEmpty());
    f.ini.WriteIniKey(text("A"), text("y"), text("2"));
    EXPECT_FALSE(f.ini.error().isEmpty());
    EXPECT_EQ(f.bytes(), beyond);
}

// A change puts a new file in the old one's place; the new one keeps the
// old one's permissions.
TEST(IniFile, AChangeKeepsTheFilesPermissions)
{
    IniFixture f;
    f.write("[A]\r\nx=1\r\n");
    const QByteArray file = QFile::encodeName(f.ini.INIFileName());
    ASSERT_EQ(::chmod(file.constData(), 0640), 0);
    f.ini.WriteIniKey(text("A"), text("x"), text("2"));
    EXPECT_TRUE(f.ini.error().isEmpty()) << f.ini.error().toStdString();
    struct stat st = {};
    ASSERT_EQ(::lstat(file.constData(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(f.bytes(), "[A]\r\nx=2\r\n");
}

// Two programs adding keys to one file at the same time: each change reads
// the file, edits it and writes it, so without a lock one writer's changes
// overwrite the other's.
TEST(IniFile, TwoProgramsWritingAtOnceKeepEachOthersKeys)
{
    IniFixture f;
    constexpr int kKeys = 150;
    std::vector<std::unique_ptr<QProcess>> writers;
    for (const char *prefix : {"a", "b"}) {
        writers.push_back(std::make_unique<QProcess>());
        writers.back()->start(
                QStringLiteral(INI_WRITER),
                {f.ini.INIFileName(), QString::fromLatin1(prefix), QString::number(kKeys)});
    }
    for (auto &writer : writers) {
        ASSERT_TRUE(writer->waitForFinished(60000));
        ASSERT_EQ(writer->exitCode(), 0);
    }
    std::vector<QString> missing;
    for (const char *prefix : {"a", "b"}) {
        for (int i = 0; i < kKeys; ++i) {
            const QString key = QString::fromLatin1(prefix) + QString::number(i);
            if (f.ini.GetIniKey(text("Keys"), key) != QString::number(i))
                missing.push_back(key);
        }
    }
    EXPECT_TRUE(missing.empty()) << missing.size() << " keys lost, the first "
                                 << missing.front().toStdString();
    EXPECT_FALSE(QFile::exists(f.ini.INIFileName() + QStringLiteral(".lock")));
}

} // namespace
} // namespace tessaroc::support
