// The strict parse either reads the whole text as a number or fails with error 13 (or 6 for
// a magnitude beyond a double); what it accepts it reads like the leading-number parse.
#include "fuzz_support.h"
#include "text/numbers.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const QLocale &locale = fuzzLocale(data.ConsumeIntegral<std::uint8_t>());
    const QString text = QString::fromStdString(data.ConsumeRemainingBytesAsString());

    double value = 0;
    try {
        value = strictNumber(text, locale);
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(isOneOf(e, {RuntimeError::TypeMismatch, RuntimeError::Overflow}));
        // Blanks around the text change nothing, also when it fails.
        try {
            strictNumber(QStringLiteral("  ") + text + QStringLiteral(" "), locale);
            FUZZ_CHECK(!"padding made a failing text a number");
        } catch (const RuntimeError &padded) {
            FUZZ_CHECK(padded == e);
        }
        return 0;
    }
    FUZZ_CHECK(!std::isnan(value));
    FUZZ_CHECK(strictNumber(QStringLiteral("  ") + text + QStringLiteral(" "), locale) == value);

    const QString t = text.trimmed();
    if (t.startsWith(u'&'))
        return 0;
    // A decimal number that fits in a double; a larger one is error 6.
    FUZZ_CHECK(std::isfinite(value));
    // Without digit-group separators and with "." as decimal point the two parses read the
    // same text, so they must agree on it.
    if (locale.decimalPoint() == u"." && !t.contains(locale.groupSeparator()) && !t.contains(u' ')
        && !t.contains(u'\u202f') && !t.contains(u'\u00a0')) {
        const double leading = leadingNumber(t);
        FUZZ_CHECK(leading == value);
    }
    return 0;
}
