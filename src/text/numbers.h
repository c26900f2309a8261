#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

#include <cstdint>

// The number conversions every part of the program shares. Numbers travel between the
// parts as control texts, so these decide what each reader sees.

// Reads a number from the start of a text and never fails: blanks, tabs and line feeds
// anywhere are skipped, "." is the decimal point in every locale, reading stops at the
// first character that does not fit, and a text without a leading number reads as 0.
// "&H" and "&O" introduce hexadecimal and octal whole numbers. A typed "-0" gives -0.0,
// so callers can still see the sign of a zero. Magnitudes beyond a double give +-inf.
double leadingNumber(QStringView text);

// The leading number of a text in which the locale's decimal separator may stand for "."
// ("51,5" reads 51.5 in German, "51.5" still reads 51.5); read as leadingNumber reads it in
// every other way. For the minutes fields, whose decimals users type as their locale writes
// them.
double localLeadingNumber(QStringView text, const QLocale &locale);

// The whole text, apart from blanks around it, must be a number in the locale's format:
// its decimal separator, and digit-group separators only between whole groups ("1.234,5"
// in German, but not "47.5"); one separator may end the text. Anything else, the empty
// text included, throws RuntimeError 13.
double strictNumber(QStringView text, const QLocale &locale);

// The shortest text with at most 15 significant digits: no trailing zeros, no separator for
// whole values, "-" for negatives, "E+NN"/"E-NN" below 1E-4 and from 1E15 on, and the
// locale's decimal separator. A negative zero is written "0".
QString numberText(double value, const QLocale &locale);

// Nearest whole number, halves to the even neighbour; outside the type's range (or not a
// number at all) throws RuntimeError 6.
std::int16_t roundToInt16(double value);
std::uint8_t roundToByte(double value);

// A whole number with at least two digits: "03", "31", "224".
QString twoDigit(int value);

// Floating-point operations guarded like the original arithmetic: a result that is not a
// finite number is an overflow (6); a division by zero is error 11, or 6 for 0 / 0.
double checked(double value);
double checkedDivide(double dividend, double divisor);
