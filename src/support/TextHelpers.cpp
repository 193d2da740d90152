#include "support/TextHelpers.h"

#include "wire/GbkText.h"

#include <QListWidget>

#include <stdexcept>
#include <string>

namespace tessaroc::support {

namespace {

int columnsOf(char32_t ch)
{
    return wire::gbkCode(ch) < 0x100 ? 1 : 2;
}

QString piece(const std::u32string &chars, std::size_t first, std::size_t last)
{
    if (last < first)
        return {};
    return QString::fromUcs4(chars.data() + first, static_cast<qsizetype>(last - first + 1));
}

} // namespace

bool IsSingleByteChar(const QString &ch)
{
    if (ch.isEmpty())
        return true;
    return columnsOf(ch.toStdU32String().front()) == 1;
}

QStringList WrapText(const QString &text, std::int16_t width)
{
    std::u32string chars = text.toStdU32String();
    chars = chars.substr(0, chars.find(U'\0'));
    QStringList pieces;
    const std::size_t length = chars.size();
    // Positions count from 1, as the break rule below counts them.
    std::size_t start = 1;
    int columns = 0;
    for (std::size_t i = 1; i <= length; ++i) {
        if (i == length || columns >= width) {
            if (start == 1) {
                pieces.append(piece(chars, 0, i - 1));
                start = i + 1;
            } else {
                const std::size_t last = i == length ? length : i - 1;
                pieces.append(QLatin1Char(' ') + piece(chars, start - 1, last - 1));
                start = i;
            }
            columns = 0;
        }
        columns += columnsOf(chars[i - 1]);
    }
    return pieces;
}

void AddWrappedText(QListWidget &list, const QString &text, std::int16_t width)
{
    list.addItems(WrapText(text, width));
}

QString PadRight(const QString &text, std::int16_t n)
{
    constexpr qsizetype kMaxOverhang = 32768;
    if (text.size() > n + kMaxOverhang)
        throw std::length_error("PadRight: a text of " + std::to_string(text.size())
                                + " characters is too long for a column of " + std::to_string(n));
    if (text.size() >= n)
        return text;
    return QString(n - text.size(), QLatin1Char(' ')) + text;
}

} // namespace tessaroc::support
