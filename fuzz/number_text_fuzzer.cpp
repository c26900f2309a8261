// Every finite double is written with at most 15 significant digits in the locale's form,
// and the strict parse in the same locale reads it back to that precision.
#include "fuzz_support.h"
#include "text/numbers.h"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

// Mantissa digits, the mantissa's decimal places and the exponent of a number text, or
// false when the text is not of the form [-]d[.ddd][E(+|-)dd[d]].
struct Shape
{
    int significant = 0;
    bool trailingZero = false;
    bool exponent = false;
};

bool shapeOf(const QString &text, const QString &decimal, Shape &s)
{
    qsizetype i = text.startsWith(u'-') ? 1 : 0;
    bool seenNonZero = false, fraction = false, digits = false;
    QChar last;
    for (; i < text.size() && text[i] != u'E'; ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            digits = true;
            if (c != u'0')
                seenNonZero = true;
            if (seenNonZero)
                ++s.significant;
            last = c;
        } else if (!fraction && QStringView(text).sliced(i).startsWith(decimal)) {
            fraction = true;
            i += decimal.size() - 1;
        } else {
            return false;
        }
    }
    s.trailingZero = fraction && last == u'0';
    if (!digits)
        return false;
    if (i < text.size()) {
        s.exponent = true;
        const QStringView e = QStringView(text).sliced(i + 1);
        if (e.size() < 3 || (e[0] != u'+' && e[0] != u'-'))
            return false;
        for (QChar c : e.sliced(1)) {
            if (c < u'0' || c > u'9')
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const QLocale &locale = fuzzLocale(data.ConsumeIntegral<std::uint8_t>());
    // Raw bits reach every double: subnormals, infinities, NaNs with any payload.
    std::uint64_t bits = data.ConsumeIntegral<std::uint64_t>();
    double x;
    std::memcpy(&x, &bits, sizeof x);

    QString text;
    try {
        text = numberText(x, locale);
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(!std::isfinite(x));
        FUZZ_CHECK(e.number() == RuntimeError::Overflow);
        return 0;
    }
    FUZZ_CHECK(std::isfinite(x));

    Shape s;
    FUZZ_CHECK(shapeOf(text, locale.decimalPoint(), s));
    FUZZ_CHECK(text.startsWith(u'-') == (x < 0));
    FUZZ_CHECK(s.significant <= 15);
    FUZZ_CHECK(!s.trailingZero);
    FUZZ_CHECK(text.size() <= 22);

    double back;
    try {
        back = strictNumber(text, locale);
    } catch (const RuntimeError &e) {
        // The largest doubles round up to a 15-digit text beyond the double range, which
        // cannot be read back: 1.79769313486232E+308 is an overflow.
        FUZZ_CHECK(e.number() == RuntimeError::Overflow);
        FUZZ_CHECK(std::abs(x) > 1.79769313486231e308);
        return 0;
    }
    FUZZ_CHECK(withinFifteenDigits(back, x));
    FUZZ_CHECK(std::signbit(back) == (x < 0));
    // The exponent form is used exactly for the written value below 1E-4 or from 1E15 on.
    if (x != 0)
        FUZZ_CHECK(s.exponent == (std::abs(back) < 1e-4 || std::abs(back) >= 1e15));
    // Writing the value read back gives the same text: the text is stable.
    FUZZ_CHECK(numberText(back, locale) == text);
    // The leading-number parse reads the same value from the text with "." as decimal point.
    QString dotted = text;
    dotted.replace(locale.decimalPoint(), QStringLiteral("."));
    FUZZ_CHECK(leadingNumber(dotted) == back);
    return 0;
}
