#include "support/FileExists.h"
#include "support/MinPositiveWealth.h"
#include "support/TextHelpers.h"

#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <stdexcept>

namespace tessaroc::support {
namespace {

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

struct WrapCase
{
    const char *name;
    QString text;
    int width;
    QStringList pieces;
};

void PrintTo(const WrapCase &c, std::ostream *os)
{
    *os << c.name;
}

class WrapTextCases : public ::testing::TestWithParam<WrapCase>
{
};

TEST_P(WrapTextCases, BreaksWhereTheListBoxDoes)
{
    EXPECT_EQ(WrapText(GetParam().text, static_cast<std::int16_t>(GetParam().width)),
              GetParam().pieces)
            << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
        Cases, WrapTextCases,
        ::testing::Values(
                WrapCase{"empty", {}, 10, {}},
                WrapCase{"startsWithNul", QString(QChar(0)) + text("abc"), 10, {}},
                WrapCase{"cutAtNul", text("ab") + QChar(0) + text("cd"), 10, {text("ab")}},
                WrapCase{"fitsWhole", text("abcdef"), 10, {text("abcdef")}},
                // The first piece keeps the letter at which the width was
                // reached; the second counts from that letter on.
                WrapCase{"tenLettersWidthFour",
                         text("abcdefghij"),
                         4,
                         {text("abcde"), text(" fgh"), text(" ij")}},
                WrapCase{"eightDoubleByteWidthFour",
                         text("一二三四五六七八"),
                         4,
                         {text("一二三"), text(" 四"), text(" 五六"), text(" 七八")}},
                WrapCase{"mixed", text("ab中文cd"), 3, {text("ab中文"), text(" cd")}},
                // A character the code page cannot write goes out as '?': one
                // column; a pair of surrogates is one character.
                WrapCase{"outsideTheCodePage",
                         text("😀😀😀😀😀😀"),
                         2,
                         {text("😀😀😀"), text(" 😀"), text(" 😀😀")}},
                WrapCase{"widthZero", text("abc"), 0, {text("a"), text(" "), text(" bc")}}),
        [](const auto &param) { return std::string(param.param.name); });

TEST(AddWrappedText, AppendsThePiecesToTheListBox)
{
    QListWidget list;
    list.addItem(text("earlier"));
    AddWrappedText(list, text("abcdefghij"), 4);
    AddWrappedText(list, {}, 4);
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.item(0)->text(), text("earlier"));
    EXPECT_EQ(list.item(1)->text(), text("abcde"));
    EXPECT_EQ(list.item(3)->text(), text(" ij"));
}

TEST(IsSingleByteChar, OneByteInTheCodePage)
{
    EXPECT_TRUE(IsSingleByteChar(text("a")));
    EXPECT_TRUE(IsSingleByteChar(text("7中")));
    EXPECT_TRUE(IsSingleByteChar(text("€"))); // 0x80 in the code page
    EXPECT_TRUE(IsSingleByteChar(text("😀"))); // written as '?'
    EXPECT_TRUE(IsSingleByteChar({}));
    EXPECT_FALSE(IsSingleByteChar(text("中a")));
    EXPECT_FALSE(IsSingleByteChar(text("，")));
}

TEST(PadRight, RightAlignsInAColumnOfCharacters)
{
    const struct
    {
        const char *name;
        QString text;
        std::int16_t n;
        QString padded;
    } cases[] = {
            {"oneDigitInTwelve", text("7"), 12, QString(11, QLatin1Char(' ')) + text("7")},
            {"longerThanTheColumn", text("abcdefghijklmno"), 12, text("abcdefghijklmno")},
            {"exactlyTheColumn", text("123456789012"), 12, text("123456789012")},
            // Characters count, not display columns: an ideograph is one.
            {"ideographs", text("中文"), 4, text("  中文")},
            {"emptyText", {}, 3, text("   ")},
            {"negativeColumn", text("x"), -3, text("x")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PadRight(c.text, c.n), c.padded) << c.name;
}

TEST(PadRight, RefusesATextFarLongerThanItsColumn)
{
    // Up to 32768 characters past the column the text comes back as it is;
    // one more is refused with an error, for the widest and the narrowest
    // column alike.
    for (const std::int16_t n : {std::int16_t{12}, std::int16_t{-32768}, std::int16_t{32767}}) {
        const QString longest(n + 32768, QLatin1Char('x'));
        EXPECT_EQ(PadRight(longest, n), longest) << n;
        EXPECT_THROW(PadRight(longest + QLatin1Char('x'), n), std::length_error) << n;
    }
}

TEST(FileExists, NeedsTheStoredNameExactly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(text("info.qn"));
    EXPECT_FALSE(FileExists(path, text("info.qn")));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(FileExists(path, text("info.qn")));
    EXPECT_FALSE(FileExists(path, text("Info.qn")));
    EXPECT_FALSE(FileExists(dir.filePath(text("INFO.QN")), text("INFO.QN")));
    EXPECT_FALSE(FileExists(dir.path(), QFileInfo(dir.path()).fileName())); // a folder

    const QString hidden = dir.filePath(text(".info.qn"));
    QFile hiddenFile(hidden);
    ASSERT_TRUE(hiddenFile.open(QIODevice::WriteOnly));
    hiddenFile.close();
    EXPECT_FALSE(FileExists(hidden, text(".info.qn")));
}

TEST(MinPositiveWealth, SmallestAboveZero)
{
    static_assert(MinPositiveWealth(std::array<std::int32_t, 4>{0, 300, 200, 0}) == 200);
    static_assert(MinPositiveWealth(std::array<std::int32_t, 4>{0, 0, 0, 0}) == 0);
    static_assert(MinPositiveWealth(std::array<std::int32_t, 4>{500, -1, 100, 0}) == 100);
    EXPECT_EQ(MinPositiveWealth(std::array<std::int32_t, 4>{-5, -7, 2147483647, 1}), 1);
}

} // namespace
} // namespace tessaroc::support
