// What the built program holds: a copy of it moved to another machine or
// folder must not reach back into the build tree for code to run.

#include <QByteArray>
#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(ProgramFile, NamesNoBuildPlaceOfTheWebEngineModule)
{
    QFile program(QStringLiteral(TESSAROC_CLIENT_PATH));
    ASSERT_TRUE(program.open(QIODevice::ReadOnly));
    const QByteArray bytes = program.readAll();
    ASSERT_FALSE(bytes.isEmpty());
    // The module's build folder and its library's, each as a string of its
    // own (a debug build names source files in the build tree, which start
    // with them), and the module by any path at all.
    for (const QByteArray &needle :
         {QByteArray(TESSAROC_MODULE_BUILD_DIR) + '\0',
          QByteArray(TESSAROC_PLATFORM_BUILD_DIR) + '\0', QByteArray("/libtessaroc_webengine"),
          QByteArray("/tessaroc_webengine")})
        EXPECT_FALSE(bytes.contains(needle)) << needle.constData();
}

} // namespace
