// What the built program holds: a copy of it taken to another folder or
// machine must not reach back into the build tree for code to run.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <string>

namespace {

// A text as the program may hold it: in bytes, as a C string does, or in
// UTF-16, as a Qt string literal does.
bool holds(const QByteArray &program, const QString &text)
{
    const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return program.contains(text.toUtf8()) || program.contains(utf16);
}

TEST(ProgramFile, NamesNoBuildPlaceOfTheWebEngineModule)
{
    QFile program(QStringLiteral(TESSAROC_CLIENT_PATH));
    ASSERT_TRUE(program.open(QIODevice::ReadOnly));
    const QByteArray bytes = program.readAll();
    ASSERT_FALSE(bytes.isEmpty());
    // The module's build folder and its library's, each as a string of its
    // own (a debug build names source files in the build tree, which start
    // with them), and the module by any path at all.
    const QString terminator(QChar(u'\0'));
    for (const QString &text :
         {QStringLiteral(TESSAROC_MODULE_BUILD_DIR) + terminator,
          QStringLiteral(TESSAROC_PLATFORM_BUILD_DIR) + terminator,
          QStringLiteral("/libtessaroc_webengine"), QStringLiteral("/tessaroc_webengine")})
        EXPECT_FALSE(holds(bytes, text)) << text.toStdString();
}

} // namespace
