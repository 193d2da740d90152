#include "settlement/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tessaroc::settlement {

namespace {

constexpr int kSignificantDigits = 15;
constexpr double kExponentFrom = 1e15;
constexpr int kLevels = 40;

} // namespace

double AmountValue(std::uint64_t magnitude)
{
    double v = 0;
    for (int i = 7; i >= 0; --i)
        v = v * 256 + static_cast<double>((magnitude >> (8 * i)) & 0xFF);
    return v;
}

QString AmountText(double value)
{
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
    if (std::fabs(value) < kExponentFrom) {
        // Rounded to 15 significant digits, then the zeros of the fraction
        // dropped.
        const int wholeDigits = std::fabs(value) < 1
                ? 0
                : static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
        QString text = QString::number(value, 'f', std::max(0, kSignificantDigits - wholeDigits));
        if (text.contains(QLatin1Char('.'))) {
            while (text.endsWith(QLatin1Char('0')))
                text.chop(1);
            if (text.endsWith(QLatin1Char('.')))
                text.chop(1);
        }
        if (text == QStringLiteral("-0"))
            return QStringLiteral("0");
        return text;
    }
    QString text = QString::number(value, 'E', kSignificantDigits - 1);
    // "1.50000000000000E+15" -> "1.5E+15"
    const qsizetype e = text.indexOf(QLatin1Char('E'));
    QString mantissa = text.left(e);
    QString exponent = text.mid(e + 1);
    if (mantissa.contains(QLatin1Char('.'))) {
        while (mantissa.endsWith(QLatin1Char('0')))
            mantissa.chop(1);
        if (mantissa.endsWith(QLatin1Char('.')))
            mantissa.chop(1);
    }
    const QChar sign = exponent[0];
    QString digits = exponent.mid(1);
    while (digits.size() > 2 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    return mantissa + QLatin1Char('E') + sign + digits;
}

QString LevelName(int n)
{
    if (n < 1 || n > kLevels)
        return {};
    static const std::array<QString, 10> digits{
            QStringLiteral(""),   QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
            QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六"), QStringLiteral("七"),
            QStringLiteral("八"), QStringLiteral("九")};
    const QString ten = QStringLiteral("十");
    QString numeral;
    if (n < 10)
        numeral = digits[static_cast<std::size_t>(n)];
    else
        numeral = (n >= 20 ? digits[static_cast<std::size_t>(n / 10)] : QString()) + ten
                + digits[static_cast<std::size_t>(n % 10)];
    return QStringLiteral("第") + numeral + QStringLiteral("级");
}

} // namespace tessaroc::settlement
