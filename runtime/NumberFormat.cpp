#include "runtime/NumberFormat.h"

#include <QLocale>
#include <cmath>

namespace NumberFormat {

namespace {

QString groupDigits(const QString &digits, const QString &group)
{
    QString grouped;
    grouped.reserve(digits.size() + digits.size() / 3);
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += group;
        grouped += digits[i];
    }
    return grouped;
}

QString nonFinite(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

} // namespace

Separators systemSeparators()
{
    const QLocale locale = QLocale::system();
    return {locale.groupSeparator(), locale.decimalPoint()};
}

QString formatValue(double value, const Separators &separators)
{
    if (!std::isfinite(value))
        return nonFinite(value);
    // Rounding to three decimals is done on the exact binary value by the 'f'
    // conversion; the sign is handled apart so that a value rounding to zero shows "0".
    QString fixed = QString::number(std::fabs(value), 'f', 3);
    const qsizetype point = fixed.indexOf(QLatin1Char('.'));
    QString decimals = fixed.mid(point + 1);
    while (decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    const QString integer = fixed.left(point);
    const bool zero = decimals.isEmpty() && integer == QLatin1String("0");
    QString text = (value < 0 && !zero) ? QStringLiteral("-") : QString();
    text += groupDigits(integer, separators.group);
    if (!decimals.isEmpty())
        text += separators.decimal + decimals;
    return text;
}

QString formatValue(double value)
{
    return formatValue(value, systemSeparators());
}

} // namespace NumberFormat
