#include "platform/WebEngineLoader.h"

#include "OtherUser.h"
#include "RefusedPort.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace tessaroc::platform {
namespace {

// The module the build put beside this test binary, as it puts one beside the
// program.
QString builtModule()
{
    return QDir(QCoreApplication::applicationDirPath())
            .filePath(QLatin1String(kWebEngineModuleFile));
}

// Copies `from` to `to` with the given permission bits.
::testing::AssertionResult copyWithMode(const QString &from, const QString &to, mode_t mode)
{
    if (!QFile::copy(from, to))
        return ::testing::AssertionFailure() << "cannot copy " << from.toStdString();
    if (::chmod(QFile::encodeName(to).constData(), mode) != 0)
        return ::testing::AssertionFailure() << "cannot chmod " << to.toStdString();
    return ::testing::AssertionSuccess();
}

TEST(WebEngineLoader, LoadsTheModuleBesideTheProgram)
{
    const WebEngine engine = LoadWebEngine(QCoreApplication::applicationDirPath());
    EXPECT_NE(engine.create, nullptr) << engine.error.toStdString();
    EXPECT_TRUE(engine.error.isEmpty());
}

// What lies in the folder the module is looked for in.
enum class Module { Copy, LinkToCopy, Pipe, Missing };
enum class Owner { Me, OtherUser };

struct FolderCase
{
    const char *name;
    Module module;
    mode_t moduleMode;
    mode_t folderMode;
    Owner moduleOwner;
    Owner folderOwner;
    const char *refusal; // the reason given; nullptr: the module loads
};

constexpr FolderCase kFolderCases[] = {
        {"OwnCopyInOwnFolder", Module::Copy, 0755, 0700, Owner::Me, Owner::Me, nullptr},
        {"GroupWritableModule", Module::Copy, 0775, 0755, Owner::Me, Owner::Me,
         "it is writable by other users"},
        {"WorldWritableModule", Module::Copy, 0757, 0755, Owner::Me, Owner::Me,
         "it is writable by other users"},
        {"GroupWritableFolder", Module::Copy, 0755, 0775, Owner::Me, Owner::Me,
         "its folder is writable by other users"},
        // A shared temporary folder: the sticky bit keeps others from
        // renaming the module, not from putting one there first.
        {"SharedTemporaryFolder", Module::Copy, 0755, 01777, Owner::Me, Owner::Me,
         "its folder is writable by other users"},
        {"ModuleOfAnotherUser", Module::Copy, 0755, 0755, Owner::OtherUser, Owner::Me,
         "it belongs to another user"},
        {"FolderOfAnotherUser", Module::Copy, 0755, 0755, Owner::Me, Owner::OtherUser,
         "its folder belongs to another user"},
        {"LinkToAGoodCopy", Module::LinkToCopy, 0755, 0755, Owner::Me, Owner::Me,
         "it is a symbolic link"},
        {"Pipe", Module::Pipe, 0644, 0755, Owner::Me, Owner::Me, "it is not a regular file"},
        {"NoModule", Module::Missing, 0755, 0755, Owner::Me, Owner::Me,
         "No such file or directory"},
};

void PrintTo(const FolderCase &c, std::ostream *out)
{
    *out << c.name;
}

class WebEngineFolder : public ::testing::TestWithParam<FolderCase>
{
};

TEST_P(WebEngineFolder, LoadsOnlyAModuleNoOneElseCanChange)
{
    const FolderCase &c = GetParam();
    std::optional<test::OtherUser> other;
    if (c.moduleOwner == Owner::OtherUser || c.folderOwner == Owner::OtherUser) {
        QString why;
        other = test::otherUser(why);
        if (!other)
            GTEST_SKIP() << why.toStdString();
    }
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const QString folder = temporary.filePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString module = QDir(folder).filePath(QLatin1String(kWebEngineModuleFile));
    const QByteArray moduleName = QFile::encodeName(module);
    switch (c.module) {
    case Module::Copy:
        ASSERT_TRUE(copyWithMode(builtModule(), module, c.moduleMode));
        break;
    case Module::LinkToCopy: {
        const QString elsewhere = temporary.filePath(QLatin1String(kWebEngineModuleFile));
        ASSERT_TRUE(copyWithMode(builtModule(), elsewhere, c.moduleMode));
        ASSERT_TRUE(QFile::link(elsewhere, module));
        break;
    }
    case Module::Pipe:
        ASSERT_EQ(::mkfifo(moduleName.constData(), c.moduleMode), 0);
        break;
    case Module::Missing:
        break;
    }
    if (c.moduleOwner == Owner::OtherUser) {
        ASSERT_EQ(::chown(moduleName.constData(), other->uid, other->gid), 0);
    }
    const QByteArray folderName = QFile::encodeName(folder);
    if (c.folderOwner == Owner::OtherUser) {
        ASSERT_EQ(::chown(folderName.constData(), other->uid, other->gid), 0);
    }
    ASSERT_EQ(::chmod(folderName.constData(), c.folderMode), 0);

    const WebEngine engine = LoadWebEngine(folder);
    if (!c.refusal) {
        EXPECT_NE(engine.create, nullptr) << engine.error.toStdString();
        return;
    }
    EXPECT_EQ(engine.create, nullptr);
    EXPECT_TRUE(engine.error.contains(module)) << engine.error.toStdString();
    EXPECT_TRUE(engine.error.contains(QLatin1String(c.refusal))) << engine.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Folders, WebEngineFolder, ::testing::ValuesIn(kFolderCases),
                         [](const auto &param) { return std::string(param.param.name); });

using tessaroc::test::refusedPort;

// A program with a web panel, copied to a folder of its own as a player's
// copy of the client might be: the panel finds its engine beside the copy or
// nowhere, whatever lies where the program was built.
enum class Beside { SafeModule, NoModule, GroupWritableModule };

struct CopyCase
{
    const char *name;
    Beside beside;
    const char *output; // what the probe prints; nullptr: the page view is made
    const char *message; // what it says on stderr
};

constexpr CopyCase kCopyCases[] = {
        {"WithItsModule", Beside::SafeModule, nullptr, nullptr},
        {"WithoutItsModule", Beside::NoModule, "engine no\nerror -1\nview no\n",
         "is not loaded: No such file or directory; the web panels show no pages"},
        {"BesideAGroupWritableModule", Beside::GroupWritableModule,
         "engine no\nerror -1\nview no\n",
         "is not loaded: it is writable by other users; the web panels show no pages"},
};

void PrintTo(const CopyCase &c, std::ostream *out)
{
    *out << c.name;
}

class CopiedProgram : public ::testing::TestWithParam<CopyCase>
{
};

TEST_P(CopiedProgram, ShowsPagesOnlyWithASafeModuleBesideIt)
{
    const CopyCase &c = GetParam();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString probe = folder.filePath(QStringLiteral("web_panel_probe"));
    ASSERT_TRUE(copyWithMode(QStringLiteral(TESSAROC_WEB_PANEL_PROBE), probe, 0755));
    const QString module = folder.filePath(QLatin1String(kWebEngineModuleFile));
    if (c.beside != Beside::NoModule) {
        const mode_t mode = c.beside == Beside::SafeModule ? 0755 : 0775;
        ASSERT_TRUE(copyWithMode(builtModule(), module, mode));
    }

    QProcess run;
    run.start(probe, {QStringLiteral("http://127.0.0.1:%1/").arg(refusedPort())});
    ASSERT_TRUE(run.waitForFinished(60000)) << "the probe did not end";
    const std::string out = run.readAllStandardOutput().toStdString();
    const std::string err = run.readAllStandardError().toStdString();
    ASSERT_EQ(run.exitStatus(), QProcess::NormalExit) << err;
    EXPECT_EQ(run.exitCode(), 0) << err;
    if (!c.output) {
        // The page view was made; the refused port then reports its error.
        EXPECT_NE(out.find("engine yes\n"), std::string::npos) << out;
        EXPECT_NE(out.find("view yes\n"), std::string::npos) << out;
        EXPECT_EQ(err.find("is not loaded"), std::string::npos) << err;
        return;
    }
    EXPECT_EQ(out, c.output) << err;
    EXPECT_NE(err.find(module.toStdString() + std::string(" ") + c.message), std::string::npos)
            << err;
}

INSTANTIATE_TEST_SUITE_P(Copies, CopiedProgram, ::testing::ValuesIn(kCopyCases),
                         [](const auto &param) { return std::string(param.param.name); });

} // namespace
} // namespace tessaroc::platform
