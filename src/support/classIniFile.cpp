#include "support/classIniFile.h"

#include "support/ProfileText.h"
#include "wire/GbkText.h"

#include <QFile>
#include <QSaveFile>

namespace tessaroc::support {

namespace {

// The longest value the class reads back, in bytes of the code page.
constexpr std::size_t kMaxValueBytes = 1023;

// A text as the file holds it: code-page bytes, ending at a NUL, line breaks
// turned into spaces.
std::string toFileText(const QString &text)
{
    std::string bytes = wire::utf8ToGbk(text.toStdString());
    bytes = bytes.substr(0, bytes.find('\0'));
    for (char &c : bytes) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return bytes;
}

QString fromFileText(std::string_view bytes)
{
    return QString::fromStdString(wire::gbkToUtf8(bytes));
}

} // namespace

std::optional<std::string> classIniFile::readFile() const
{
    QFile file(path_);
    if (path_.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    return bytes.toStdString();
}

void classIniFile::writeFile(const std::string &text) const
{
    if (path_.isEmpty())
        return;
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(text.data(), static_cast<qint64>(text.size()));
    file.commit();
}

void classIniFile::WriteIniKey(const QString &strSection, const QString &strKey,
                               const QString &strValue)
{
    const std::string text = readFile().value_or(std::string());
    if (const auto changed = profile::setString(text, toFileText(strSection), toFileText(strKey),
                                                toFileText(strValue)))
        writeFile(*changed);
}

QString classIniFile::GetIniKey(const QString &strSection, const QString &strKey) const
{
    const auto text = readFile();
    if (!text)
        return {};
    const auto value = profile::getString(*text, toFileText(strSection), toFileText(strKey));
    if (!value)
        return {};
    QString result = fromFileText(profile::cutAtCharacter(*value, kMaxValueBytes));
    // Spaces before the value go; spaces after it stay.
    qsizetype lead = 0;
    while (lead < result.size() && result[lead] == QLatin1Char(' '))
        ++lead;
    return result.mid(lead);
}

void classIniFile::DelIniKey(const QString &SectionName, const QString &KeyWord)
{
    const auto text = readFile();
    if (!text)
        return;
    if (const auto changed
        = profile::deleteKey(*text, toFileText(SectionName), toFileText(KeyWord)))
        writeFile(*changed);
}

void classIniFile::DelIniSec(const QString &SectionName)
{
    const auto text = readFile();
    if (!text)
        return;
    if (const auto changed = profile::deleteSection(*text, toFileText(SectionName)))
        writeFile(*changed);
}

} // namespace tessaroc::support
