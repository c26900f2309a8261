// The leading-number parse never fails, ignores blanks anywhere, and agrees with the C
// library on the number it finds at the start. Its locale form reads the same where the
// locale's decimal separator is "." or absent, and reads a "," as "." where it is ",".
#include "fuzz_support.h"
#include "text/numbers.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

bool isSkipped(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool sameDouble(double a, double b)
{
    return a == b && std::signbit(a) == std::signbit(b);
}

// The longest prefix of `t` that reads as [sign] digits [. digits] [E [sign] digits], or an
// empty string when `t` has no digit there; `t` holds no blanks.
std::string decimalPrefix(QStringView t)
{
    std::string out;
    qsizetype i = 0;
    auto digitAt = [&](qsizetype k) { return k < t.size() && t[k] >= u'0' && t[k] <= u'9'; };
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        out += char(t[i++].unicode());
    bool digits = false;
    while (digitAt(i)) {
        out += char(t[i++].unicode());
        digits = true;
    }
    if (i < t.size() && t[i] == u'.') {
        out += char(t[i++].unicode());
        while (digitAt(i)) {
            out += char(t[i++].unicode());
            digits = true;
        }
    }
    if (!digits)
        return {};
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        qsizetype k = i + 1;
        if (k < t.size() && (t[k] == u'-' || t[k] == u'+'))
            ++k;
        if (digitAt(k)) {
            out += std::string(t.sliced(i, k - i).toLatin1().constData());
            while (digitAt(k))
                out += char(t[k++].unicode());
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const QString text = QString::fromStdString(data.ConsumeRemainingBytesAsString());

    const double value = leadingNumber(text); // throwing at all would be a failure
    FUZZ_CHECK(!std::isnan(value));

    // Blanks, tabs and line feeds are skipped wherever they are.
    QString packed = text;
    packed.removeIf([](QChar c) { return isSkipped(c); });
    FUZZ_CHECK(sameDouble(leadingNumber(packed), value));
    // Reading stops at a character that cannot continue a number.
    FUZZ_CHECK(sameDouble(leadingNumber(text + QStringLiteral("x;")), value));

    // Every fuzzed locale writes its decimals with "." or ",".
    for (std::uint8_t pick = 0; pick < 5; ++pick) {
        const QLocale &locale = fuzzLocale(pick);
        const QString decimal = locale.decimalPoint();
        const double local = localLeadingNumber(text, locale);
        if (decimal == u"." || !text.contains(decimal))
            FUZZ_CHECK(sameDouble(local, value));
        else if (!text.contains(u'.'))
            FUZZ_CHECK(sameDouble(
                local, leadingNumber(QString(text).replace(decimal, QStringLiteral(".")))));
    }

    if (packed.startsWith(u'&')) {
        const QChar kind = packed.size() > 1 ? packed[1].toUpper() : QChar();
        FUZZ_CHECK(value >= 0 && !std::signbit(value));
        FUZZ_CHECK(std::isinf(value) || value == std::floor(value));
        if (kind != u'H' && kind != u'O') {
            FUZZ_CHECK(value == 0);
        } else {
            // Up to 13 hex or 17 octal digits are exact in a double: compare with strtoull.
            const QByteArray digits = packed.sliced(2).toLatin1();
            const int radix = kind == u'H' ? 16 : 8;
            std::string run;
            for (char c : digits) {
                const bool fits = radix == 16 ? std::isxdigit(static_cast<unsigned char>(c))
                                              : (c >= '0' && c <= '7');
                if (!fits)
                    break;
                run += c;
            }
            if (run.size() <= (radix == 16 ? 13u : 17u))
                FUZZ_CHECK(value
                           == double(run.empty() ? 0 : std::strtoull(run.c_str(), nullptr, radix)));
        }
        return 0;
    }

    const std::string prefix = decimalPrefix(packed);
    if (prefix.empty()) {
        // No number: 0, negative only after a typed minus.
        FUZZ_CHECK(value == 0);
        FUZZ_CHECK(std::signbit(value) == packed.startsWith(u'-'));
        return 0;
    }
    const double expected = std::strtod(prefix.c_str(), nullptr);
    // strtod keeps subnormal results that the parse may flush to a signed zero.
    if (std::abs(expected) < DBL_MIN)
        FUZZ_CHECK(sameDouble(value, expected)
                   || (value == 0 && std::signbit(value) == std::signbit(expected)));
    else
        FUZZ_CHECK(sameDouble(value, expected));
    return 0;
}
