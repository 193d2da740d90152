#include "chat/ChatPhrases.h"

#include "support/FileExists.h"
#include "support/classIniFile.h"

#include <QFileInfo>

#include <cmath>
#include <cstdlib>
#include <string>

namespace tessaroc::chat {

namespace {

// Both pages at their largest count, 32767 phrases each of a few dozen bytes,
// make a file of a few megabytes; a larger one was not written as a phrases
// file, and is not read.
constexpr std::size_t kMostFileBytes = std::size_t{8} << 20;

QStringList page(const support::IniFileReading &file, const QString &section)
{
    const int count = PhraseCount(file.GetIniKey(section, QStringLiteral("num")));
    QStringList phrases;
    phrases.reserve(count);
    for (int i = 1; i <= count; ++i)
        phrases.append(file.GetIniKey(section, QString::number(i)));
    return phrases;
}

PhrasePages pages(const support::IniFileReading &file)
{
    return {page(file, QStringLiteral("Phrase1")), page(file, QStringLiteral("Phrase2"))};
}

// The leading number of a text: blanks, a sign, digits with at most one
// decimal point, and an exponent; 0 when no digit comes.
double leadingNumber(const QString &value)
{
    const std::string s = value.toStdString();
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        number += s[i++];
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9') {
            digits = true;
            number += s[i];
        } else if (s[i] == '.' && !point) {
            point = true;
            number += s[i];
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    if (i + 1 < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (s[j] == '+' || s[j] == '-')
            exponent += s[j++];
        const std::size_t start = j;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9' && j - start < 6)
            exponent += s[j++];
        if (j > start)
            number += exponent;
    }
    return std::strtod(number.c_str(), nullptr);
}

} // namespace

std::int16_t PhraseCount(const QString &value)
{
    const double number = std::nearbyint(leadingNumber(value));
    if (!(number > 0))
        return 0;
    if (number > 32767)
        return 32767;
    return static_cast<std::int16_t>(number);
}

PhrasePages PhrasesFromText(std::string_view fileText)
{
    return pages(support::IniFileReading(std::string(fileText)));
}

PhrasePages ReadPhrases(const QString &path)
{
    if (!support::FileExists(path, QFileInfo(path).fileName()))
        return {};
    support::classIniFile file;
    file.setINIFileName(path);
    file.setMostBytes(kMostFileBytes);
    return pages(file.Read());
}

} // namespace tessaroc::chat
