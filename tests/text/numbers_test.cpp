#include "error_of.h"
#include "text/numbers.h"
#include "text/runtime_error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const QLocale english(QLocale::English, QLocale::UnitedStates);
const QLocale german(QLocale::German, QLocale::Germany);
const QLocale swiss(QLocale::German, QLocale::Switzerland);
const QLocale french(QLocale::French, QLocale::France);

struct LeadingCase
{
    const char16_t *text;
    double expected;
};

TEST(LeadingNumber, ReadsTheNumberAtTheStart)
{
    const LeadingCase cases[] = {
        {u"47abc", 47},      {u"  -12.5e1x", -125},
        {u"&H1F", 31},       {u"&h1f", 31},
        {u"&O17", 15},       {u"&o778", 63},
        {u"N47", 0},         {u"", 0},
        {u"abc", 0},         {u"12.5xyz", 12.5},
        {u"1 2 3", 123},     {u"\t4\n2", 42},
        {u"- 5", -5},        {u"+5", 5},
        {u".5", 0.5},        {u"-.5", -0.5},
        {u"1.2.3", 1.2},     {u"1e", 1},
        {u"1e+", 1},         {u"1E-2", 0.01},
        {u"2e 3", 2000},     {u"30.50", 30.5},
        {u"1,5", 1},         {u"&", 0},
        {u"&X12", 0},        {u"&H", 0},
        {u"--5", 0},         {u"00.00", 0},
        {u"12, ", 12},       {u"4857, 0, ", 4857},
        {u"1e-320", 1e-320}, {u"1e-400", 0},
        {u"0.000e999", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(leadingNumber(c.text), c.expected) << QString::fromUtf16(c.text).toStdString();
}

TEST(LeadingNumber, KeepsTheSignOfZeroAndSaturatesHugeValues)
{
    EXPECT_TRUE(std::signbit(leadingNumber(u"-00")));
    EXPECT_TRUE(std::signbit(leadingNumber(u"-000")));
    EXPECT_TRUE(std::signbit(leadingNumber(u"-")));
    EXPECT_FALSE(std::signbit(leadingNumber(u"00")));
    EXPECT_EQ(leadingNumber(u"1e400"), HUGE_VAL);
    EXPECT_EQ(leadingNumber(u"-1e400"), -HUGE_VAL);
    EXPECT_EQ(leadingNumber(QString(10000, u'9')), HUGE_VAL);
    EXPECT_EQ(leadingNumber(u"1e308"), 1e308);
}

TEST(LeadingNumber, ExponentsBeyondALongLongKeepTheirSign)
{
    // Found by fuzzing: the exponent was read as 0 once it no longer fitted in 64 bits, and
    // an exponent near the limit overflowed when the digit count was added.
    EXPECT_EQ(leadingNumber(u"1e99999999999999999999"), HUGE_VAL);
    EXPECT_EQ(leadingNumber(u"-21e-92077777777777777777"), 0);
    EXPECT_TRUE(std::signbit(leadingNumber(u"-21e-92077777777777777777")));
    EXPECT_EQ(leadingNumber(u"99e9223372036854775807"), HUGE_VAL);
    EXPECT_EQ(leadingNumber(u"0.01e-9223372036854775808"), 0);
    EXPECT_EQ(errorOf([] { strictNumber(u"1e99999999999999999999", english); }),
              RuntimeError::Overflow);
    EXPECT_EQ(strictNumber(u"5e-99999999999999999999", english), 0);
}

struct StrictCase
{
    const QLocale *locale;
    const char16_t *text;
    double expected; // NaN: refused as a type mismatch
};

template <std::size_t N>
void expectStrictNumbers(const StrictCase (&cases)[N])
{
    for (const auto &c : cases) {
        const std::string what =
            c.locale->name().toStdString() + " " + QString::fromUtf16(c.text).toStdString();
        if (std::isnan(c.expected)) {
            EXPECT_EQ(errorOf([&] { strictNumber(c.text, *c.locale); }), RuntimeError::TypeMismatch)
                << what;
        } else {
            EXPECT_EQ(strictNumber(c.text, *c.locale), c.expected) << what;
        }
    }
}

// The locale's decimal separator counts where "." would; everything else reads as the plain
// leading number does.
TEST(LocalLeadingNumber, TakesTheLocalesDecimalSeparatorToo)
{
    const struct
    {
        const QLocale &locale;
        const char *text;
        double value;
    } cases[] = {
        {german, "51,5", 51.5},
        {german, "51.5", 51.5},
        {french, "51,5", 51.5},
        {english, "51,5", 51},
        {english, "51.5", 51.5},
        {swiss, "51,5", 51},
        {QLocale::c(), "51,5", 51},
        {german, " - 5 1 , 5", -51.5},
        {german, ",5", 0.5},
        {german, "-,25", -0.25},
        {german, "1.234,5", 1.234},
        {german, "51,5,5", 51.5},
        {german, "51,5e1", 515},
        {german, "&H1F,5", 31},
        {german, "x51,5", 0},
        {german, "51;5", 51},
        {german, "", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(localLeadingNumber(QString::fromUtf8(c.text), c.locale), c.value)
            << c.locale.name().toStdString() << " \"" << c.text << '"';
}

// A text that is one number, in the locale's format, reads as that number; anything else is a
// type mismatch.
TEST(StrictNumber, ReadsOnlyANumberInTheLocaleFormat)
{
    const double no = std::nan("");
    const StrictCase cases[] = {
        {&english, u"47", 47},          {&english, u" -122 ", -122}, {&english, u"47.5", 47.5},
        {&english, u"1,234.5", 1234.5}, {&english, u"12, ", 12},     {&english, u"-00", 0},
        {&english, u"1e3", 1000},       {&english, u"2.5E-1", 0.25}, {&english, u"+3", 3},
        {&english, u"&H10", 16},        {&english, u".5", 0.5},      {&english, u"5.", 5},
        {&german, u"47,5", 47.5},       {&german, u"12, ", 12},      {&french, u"3,25", 3.25},
        {&english, u"1e-320", 1e-320},  {&english, u"", no},         {&english, u"   ", no},
        {&english, u"abc", no},         {&english, u"47abc", no},    {&english, u"N47", no},
        {&english, u"1.2.3", no},       {&english, u"1e", no},       {&english, u"-", no},
        {&english, u"1 2", no},         {&german, u"47,5,1", no},    {&english, u"&HZZ", no},
        {&english, u"4 7", no},
    };
    expectStrictNumbers(cases);
    EXPECT_EQ(errorOf([] { strictNumber(u"1e400", english); }), RuntimeError::Overflow);
}

// A German "47.5" once read as 475 and put latitude 476 in a header line.
TEST(StrictNumber, TakesGroupSeparatorsOnlyWhereGroupingPutsThem)
{
    const QLocale indian(QLocale::English, QLocale::India);
    const double no = std::nan("");
    const StrictCase cases[] = {
        {&german, u"47.5", no},
        {&german, u"-47.5", no},
        {&german, u"1.234,5", 1234.5},
        {&german, u"1.234.567", 1234567},
        {&german, u"1.2345", no},
        {&german, u"12.34,5", no},
        {&german, u"1.234.5", no},
        {&german, u".234", no},
        {&german, u"1..234", no},
        {&german, u"12.", 12},
        {&french, u"1\u202f234,5", 1234.5},
        {&french, u"1 234,5", 1234.5},
        {&french, u"1\u00a0234", 1234},
        {&french, u"47 5", no},
        {&french, u"47.5", no},
        {&french, u"1 23", no},
        {&swiss, u"1’234.5", 1234.5},
        {&swiss, u"47.5", 47.5},
        {&swiss, u"1’234’567", 1234567},
        {&swiss, u"47’5", no},
        {&swiss, u"12, ", no},
        {&english, u"1,234.5", 1234.5},
        {&english, u"1,234,567.25", 1234567.25},
        {&english, u"47,5", no},
        {&english, u"1,23", no},
        {&english, u",5", no},
        {&english, u"1234,567", no},
        {&english, u"1,2345", no},
        {&english, u"1,234e3", no},
        {&indian, u"12,34,567.5", 1234567.5},
        {&indian, u"1,234,567", no},
    };
    expectStrictNumbers(cases);
}

struct TextCase
{
    double value;
    const char *english;
    const char *german;
};

TEST(NumberText, WritesFifteenSignificantDigits)
{
    const TextCase cases[] = {
        {384, "384", "384"},
        {-122.30416666666667, "-122.304166666667", "-122,304166666667"},
        {47.508333333333333, "47.5083333333333", "47,5083333333333"},
        {0.0146484375, "0.0146484375", "0,0146484375"},
        {-0.0, "0", "0"},
        {0.0001, "0.0001", "0,0001"},
        {0.00001, "1E-05", "1E-05"},
        {0.000015, "1.5E-05", "1,5E-05"},
        {999999999999999, "999999999999999", "999999999999999"},
        {1e15, "1E+15", "1E+15"},
        {-1.5e100, "-1.5E+100", "-1,5E+100"},
        {123456789012345678.0, "1.23456789012346E+17", "1,23456789012346E+17"},
        {0.1 + 0.2, "0.3", "0,3"},
        {179.99983333333333, "179.999833333333", "179,999833333333"},
        {1e308, "1E+308", "1E+308"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(numberText(c.value, english).toStdString(), c.english);
        EXPECT_EQ(numberText(c.value, german).toStdString(), c.german);
        EXPECT_EQ(numberText(c.value, QLocale::c()).toStdString(), c.english);
    }
}

TEST(NumberText, ReadsBackStrictlyInItsOwnLocale)
{
    const double values[] = {-33.855, 151.21, 1e-300, 12345.678, -1e20};
    for (const QLocale *locale : {&english, &german, &swiss, &french}) {
        for (double v : values) {
            const double back = strictNumber(numberText(v, *locale), *locale);
            EXPECT_NEAR(back, v, std::abs(v) * 1e-14) << locale->name().toStdString();
        }
    }
}

struct RoundCase
{
    double value;
    int expected;
};

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    const RoundCase cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {128.5, 128},
        {129.5, 130},
        {0.49999999999999994, 0},
        {-32768, -32768},
        {32767.4, 32767},
        {32767.5, 32767 + 1},
    };
    for (const auto &c : cases) {
        if (c.expected > 32767) {
            EXPECT_EQ(errorOf([&] { roundToInt16(c.value); }), RuntimeError::Overflow);
        } else {
            EXPECT_EQ(roundToInt16(c.value), c.expected) << c.value;
        }
    }
}

TEST(Rounding, OutOfRangeIsAnOverflow)
{
    const double badInt16[] = {-32768.6, 32768, 1e308, HUGE_VAL, std::nan("")};
    for (double v : badInt16)
        EXPECT_EQ(errorOf([&] { roundToInt16(v); }), RuntimeError::Overflow) << v;
    const double badByte[] = {-1, -0.6, 255.5, 300, HUGE_VAL, std::nan("")};
    for (double v : badByte)
        EXPECT_EQ(errorOf([&] { roundToByte(v); }), RuntimeError::Overflow) << v;
    EXPECT_EQ(roundToByte(-0.5), 0);
    EXPECT_EQ(roundToByte(254.5), 254);
    EXPECT_EQ(roundToByte(6.5), 6);
    EXPECT_EQ(roundToByte(7.5), 8);
}

TEST(CheckedArithmetic, ReportsFaultsAsRunTimeErrors)
{
    EXPECT_EQ(checkedDivide(1, 4), 0.25);
    EXPECT_EQ(errorOf([] { checkedDivide(5, 0); }), RuntimeError::DivisionByZero);
    EXPECT_EQ(errorOf([] { checkedDivide(-5, 0); }), RuntimeError::DivisionByZero);
    EXPECT_EQ(errorOf([] { checkedDivide(0, 0); }), RuntimeError::Overflow);
    EXPECT_EQ(errorOf([] { checkedDivide(1e308, 0.1); }), RuntimeError::Overflow);
    EXPECT_EQ(errorOf([] { checked(1e308 * 10); }), RuntimeError::Overflow);
    EXPECT_EQ(errorOf([] { checked(HUGE_VAL - HUGE_VAL); }), RuntimeError::Overflow);
    EXPECT_EQ(checked(-1e308), -1e308);
}

} // namespace
