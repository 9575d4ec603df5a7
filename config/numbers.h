#pragma once
// Text <-> number conversions of the settings view. Whole numbers are decimal; the two times
// in tenths of a second are written with one decimal place and the current decimal separator
// (QLocale().decimalPoint(), i.e. the default locale, which is the system's unless changed).

#include <QChar>
#include <QString>
#include <cstdint>
#include <optional>

// The current decimal separator character.
QChar DecimalSeparator();

// A decimal whole number: optional sign, then digits only, within 32 bits. Anything else (empty,
// "abc", "1.5", " 1", overflow) is no whole number.
std::optional<int32_t> ParseWholeNumber(const QString& text);
// The whole number, or 0 when the text is none.
int32_t WholeNumberOrZero(const QString& text);
// The low 8 bits of WholeNumberOrZero ("300" gives 44, "abc" gives 0).
uint8_t WholeNumberByte(const QString& text);

// A decimal number written with the current separator: optional sign, digits, at most one
// separator, at least one digit. Any other character (a "." under a comma separator, a group
// separator, spaces) makes it no number. The result is rounded to single precision.
std::optional<float> ParseDecimal(const QString& text);

// Tenths of a second as stored: value x 10 rounded to single precision, cut toward zero, low 8
// bits ("0,3" gives 3, "2,55" gives 25, "0,05" gives 0). A text that is no number gives fallback.
uint8_t TenthsByte(const QString& text, uint8_t fallback);

// Number pattern "0.0": one decimal place, the current separator, rounded half away from zero.
QString FormatOneDecimal(double value);
// A stored tenths value as text (25 gives "2,5" under a comma separator).
QString FormatTenths(int tenths);
