#include "chat/ChatPhrases.h"

#include "support/FileExists.h"
#include "support/ProfileText.h"
#include "wire/GbkText.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstdlib>
#include <string>

namespace tessaroc::chat {

namespace {

// A value is read as the settings-file class reads it: at most 1023 bytes,
// cut before a character that would not fit, leading spaces dropped.
constexpr std::size_t kMaxValueBytes = 1023;

QString iniValue(std::string_view text, std::string_view section, const std::string &key)
{
    const auto value = support::profile::getString(text, section, key);
    if (!value)
        return {};
    QString result = QString::fromStdString(
            wire::gbkToUtf8(support::profile::cutAtCharacter(*value, kMaxValueBytes)));
    qsizetype lead = 0;
    while (lead < result.size() && result[lead] == QLatin1Char(' '))
        ++lead;
    return result.mid(lead);
}

QStringList page(std::string_view text, std::string_view section)
{
    const int count = PhraseCount(iniValue(text, section, "num"));
    QStringList phrases;
    phrases.reserve(count);
    for (int i = 1; i <= count; ++i)
        phrases.append(iniValue(text, section, std::to_string(i)));
    return phrases;
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
    return {page(fileText, "Phrase1"), page(fileText, "Phrase2")};
}

PhrasePages ReadPhrases(const QString &path)
{
    if (!support::FileExists(path, QFileInfo(path).fileName()))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {};
    return PhrasesFromText(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace tessaroc::chat
