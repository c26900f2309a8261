#include "text/numbers.h"

#include "text/runtime_error.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace {

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

int digitValue(QChar c, int radix)
{
    int v = -1;
    if (isAsciiDigit(c))
        v = c.unicode() - u'0';
    else if (c >= u'a' && c <= u'f')
        v = c.unicode() - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        v = c.unicode() - u'A' + 10;
    return v < radix ? v : -1;
}

// Whole number after a "&H"/"&O" prefix; stops at the first character that is no digit.
template <typename Next>
double radixNumber(int radix, Next next)
{
    double value = 0;
    for (QChar c = next(); !c.isNull(); c = next()) {
        const int d = digitValue(c, radix);
        if (d < 0)
            break;
        value = value * radix + d;
    }
    return value;
}

// Converts a plain ASCII number ("-12.5e3") built by one of the parses. Values too large
// for a double become +-inf and values too small become a signed zero, so the result is
// always defined; `outOfRange` tells the strict parse that it happened.
double convertAscii(const std::string &ascii, bool *outOfRange = nullptr)
{
    double value = 0;
    const char *first = ascii.data();
    const char *last = first + ascii.size();
    const bool negative = !ascii.empty() && ascii.front() == '-';
    if (negative || (!ascii.empty() && ascii.front() == '+'))
        ++first;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (outOfRange)
        *outOfRange = false;
    if (ec == std::errc::result_out_of_range) {
        // Tell overflow from underflow by the decimal exponent of the first significant digit.
        long long exponent = 0;
        long long integerDigits = 0;
        bool seenSignificant = false;
        bool inFraction = false;
        long long leadingFractionZeros = 0;
        const char *p = first;
        for (; p < last && *p != 'e' && *p != 'E'; ++p) {
            if (*p == '.') {
                inFraction = true;
            } else if (!seenSignificant && *p == '0') {
                if (inFraction)
                    ++leadingFractionZeros;
            } else {
                seenSignificant = true;
                if (!inFraction)
                    ++integerDigits;
            }
        }
        if (p < last) {
            // Saturated rather than parsed whole: an exponent too long for a long long must
            // still tell its sign, and the digit counts added below must not overflow.
            const bool negativeExponent = p[1] == '-';
            constexpr long long limit = 1'000'000'000'000'000;
            for (const char *q = p + 1 + (p[1] == '+' || p[1] == '-'); q < last; ++q)
                exponent = std::min(limit, exponent * 10 + (*q - '0'));
            if (negativeExponent)
                exponent = -exponent;
        }
        const long long magnitude =
            exponent + (integerDigits > 0 ? integerDigits - 1 : -leadingFractionZeros - 1);
        value = magnitude > 0 ? HUGE_VAL : 0.0;
        if (outOfRange)
            *outOfRange = magnitude > 0;
    } else if (ec != std::errc()) {
        value = 0;
    }
    return negative ? -value : value;
}

// How many digits the locale puts between its digit-group separators: the group nearest the
// decimal separator, and every group before it (3 and 3 mostly; 3 and 2 in India).
struct Grouping
{
    qsizetype first = 3, further = 3;
};

Grouping groupingOf(const QLocale &locale, const QString &group)
{
    QLocale grouped = locale;
    grouped.setNumberOptions(QLocale::DefaultNumberOptions);
    const QStringList groups =
        grouped.toString(Q_INT64_C(1000000000000)).split(group, Qt::SkipEmptyParts);
    Grouping g;
    if (groups.size() >= 2)
        g.first = g.further = groups.last().size();
    if (groups.size() >= 3)
        g.further = groups[groups.size() - 2].size();
    return g;
}

} // namespace

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto next = [&]() -> QChar {
        while (i < n && isSkipped(text[i]))
            ++i;
        return i < n ? text[i++] : QChar();
    };
    auto peek = [&]() -> QChar {
        while (i < n && isSkipped(text[i]))
            ++i;
        return i < n ? text[i] : QChar();
    };

    if (peek() == u'&') {
        next();
        const QChar kind = next().toUpper();
        if (kind == u'H')
            return radixNumber(16, next);
        if (kind == u'O')
            return radixNumber(8, next);
        return 0;
    }

    std::string ascii;
    if (peek() == u'-' || peek() == u'+')
        ascii += char(next().unicode());
    bool digits = false;
    while (isAsciiDigit(peek())) {
        ascii += char(next().unicode());
        digits = true;
    }
    if (peek() == u'.') {
        next();
        ascii += '.';
        while (isAsciiDigit(peek())) {
            ascii += char(next().unicode());
            digits = true;
        }
    }
    if (!digits)
        return ascii.starts_with('-') ? -0.0 : 0.0;
    if (peek() == u'E' || peek() == u'e') {
        next();
        std::string exponent = "e";
        if (peek() == u'-' || peek() == u'+')
            exponent += char(next().unicode());
        bool exponentDigits = false;
        while (isAsciiDigit(peek())) {
            exponent += char(next().unicode());
            exponentDigits = true;
        }
        if (exponentDigits)
            ascii += exponent;
    }
    return convertAscii(ascii);
}

double localLeadingNumber(QStringView text, const QLocale &locale)
{
    const QString decimal = locale.decimalPoint();
    if (decimal.isEmpty() || decimal == u".")
        return leadingNumber(text);
    // Where leadingNumber looks for its ".": after the blanks, a sign and the whole digits.
    qsizetype i = 0;
    const auto skip = [&] {
        while (i < text.size() && isSkipped(text[i]))
            ++i;
    };
    skip();
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    for (skip(); i < text.size() && isAsciiDigit(text[i]); skip())
        ++i;
    if (!text.sliced(i).startsWith(decimal))
        return leadingNumber(text);
    QString read;
    read.reserve(text.size());
    read.append(text.left(i)).append(u'.').append(text.sliced(i + decimal.size()));
    return leadingNumber(read);
}

double strictNumber(QStringView text, const QLocale &locale)
{
    const QStringView t = text.trimmed();
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    const bool spaceGroup = group == u"\u00a0" || group == u"\u202f" || group == u" ";
    const QString minus = locale.negativeSign();
    const QString plus = locale.positiveSign();
    const Grouping grouping = groupingOf(locale, group);

    qsizetype i = 0;
    auto startsWith = [&](const QString &s) { return !s.isEmpty() && t.sliced(i).startsWith(s); };
    const auto mismatch = [] { return RuntimeError(RuntimeError::TypeMismatch); };

    if (t.size() >= 3 && t[0] == u'&' && (t[1].toUpper() == u'H' || t[1].toUpper() == u'O')) {
        const int radix = t[1].toUpper() == u'H' ? 16 : 8;
        double value = 0;
        for (QChar c : t.sliced(2)) {
            const int d = digitValue(c, radix);
            if (d < 0)
                throw mismatch();
            value = value * radix + d;
        }
        return value;
    }

    std::string ascii;
    if (startsWith(minus) || t.sliced(i).startsWith(u'-')) {
        ascii += '-';
        i += startsWith(minus) ? minus.size() : 1;
    } else if (startsWith(plus) || t.sliced(i).startsWith(u'+')) {
        i += startsWith(plus) ? plus.size() : 1;
    }

    // A group separator counts only where grouping can put one: after one to a whole group
    // of digits, with a whole group up to the next separator, the decimal separator or the
    // end. "47.5" in German is therefore no number rather than 475. One at the very end
    // passes, because the cursor readouts end in ", ".
    const auto groupSeparatorAt = [&](qsizetype at) -> qsizetype {
        if (at >= t.size())
            return 0;
        if (spaceGroup && (t[at] == u' ' || t[at] == u'\u00a0' || t[at] == u'\u202f'))
            return 1;
        return group != decimal && t.sliced(at).startsWith(group) ? group.size() : 0;
    };
    const auto groupFits = [&](qsizetype at) {
        qsizetype end = at;
        while (end < t.size() && isAsciiDigit(t[end]))
            ++end;
        if (end == t.size() || t.sliced(end).startsWith(decimal))
            return end - at == grouping.first;
        return end - at == grouping.further && groupSeparatorAt(end) > 0;
    };
    bool digits = false;
    bool grouped = false;
    qsizetype leadingDigits = 0;
    while (i < t.size()) {
        if (isAsciiDigit(t[i])) {
            ascii += char(t[i++].unicode());
            digits = true;
            leadingDigits += grouped ? 0 : 1;
            continue;
        }
        const qsizetype separator = groupSeparatorAt(i);
        if (separator == 0 || !digits)
            break;
        const qsizetype next = i + separator;
        if (next != t.size()
            && ((!grouped && leadingDigits > grouping.further) || !groupFits(next)))
            break;
        grouped = true;
        i = next;
    }
    if (startsWith(decimal)) {
        i += decimal.size();
        ascii += '.';
        while (i < t.size() && isAsciiDigit(t[i])) {
            ascii += char(t[i++].unicode());
            digits = true;
        }
    }
    if (!digits)
        throw mismatch();
    if (i < t.size() && (t[i] == u'E' || t[i] == u'e')) {
        ++i;
        ascii += 'e';
        if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
            ascii += char(t[i++].unicode());
        bool exponentDigits = false;
        while (i < t.size() && isAsciiDigit(t[i])) {
            ascii += char(t[i++].unicode());
            exponentDigits = true;
        }
        if (!exponentDigits)
            throw mismatch();
    }
    if (i != t.size())
        throw mismatch();

    bool overflow = false;
    const double value = convertAscii(ascii, &overflow);
    if (overflow)
        throw RuntimeError(RuntimeError::Overflow);
    return value;
}

QString numberText(double value, const QLocale &locale)
{
    if (!std::isfinite(value))
        throw RuntimeError(RuntimeError::Overflow);
    if (value == 0)
        return QStringLiteral("0");
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    text.replace(u'e', u'E');
    const QString decimal = locale.decimalPoint();
    if (decimal != u".")
        text.replace(u'.', decimal);
    return text;
}

std::int16_t roundToInt16(double value)
{
    const double r = std::nearbyint(value);
    if (!(r >= -32768.0 && r <= 32767.0))
        throw RuntimeError(RuntimeError::Overflow);
    return static_cast<std::int16_t>(r);
}

std::uint8_t roundToByte(double value)
{
    const double r = std::nearbyint(value);
    if (!(r >= 0.0 && r <= 255.0))
        throw RuntimeError(RuntimeError::Overflow);
    return static_cast<std::uint8_t>(r);
}

QString twoDigit(int value)
{
    return QString::number(value).rightJustified(2, u'0');
}

double checked(double value)
{
    if (!std::isfinite(value))
        throw RuntimeError(RuntimeError::Overflow);
    return value;
}

double checkedDivide(double dividend, double divisor)
{
    if (divisor == 0) {
        throw RuntimeError(dividend == 0 || std::isnan(dividend) ? RuntimeError::Overflow
                                                                 : RuntimeError::DivisionByZero);
    }
    return checked(dividend / divisor);
}
