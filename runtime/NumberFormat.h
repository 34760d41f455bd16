#pragma once

#include <QString>

// The "#,##0.###" number picture that axis labels and legend values share: at least
// one integer digit, thousands grouped, up to three decimals rounded, trailing zero
// decimals and a bare decimal separator left out, a minus sign for negative values.
namespace NumberFormat {

struct Separators
{
    QString group;   // may be empty: no grouping
    QString decimal;
};

// The separators of the system locale.
Separators systemSeparators();

QString formatValue(double value, const Separators &separators);

// With the system locale's separators.
QString formatValue(double value);

} // namespace NumberFormat
