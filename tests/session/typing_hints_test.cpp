#include "session/typing_hints.h"
#include "workfile/work_state.h"

#include <gtest/gtest.h>

TEST(TypingHints, LineTypeHintOnlyForTextsThatNameNoCatalogueType)
{
    const struct
    {
        const char *lineType;
        bool hinted;
    } rows[] = {
        {"Select VTP Road/Line/Shoreline", true}, {";Parks", true}, {"", true}, {" ", true},
        {"\"1139\"  ;asphalt / 2 lanes", false},
    };
    for (const auto &r : rows) {
        const QString hint = lineTypeHint(QString::fromUtf8(r.lineType));
        EXPECT_EQ(hint.contains(QStringLiteral("\"%1\"").arg(r.lineType)), r.hinted) << r.lineType;
    }
}

TEST(TypingHints, MinutesOutsideTheirRangeNameThePositionTheyGave)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    const struct
    {
        TypedPosition typed;
        const QLocale &locale;
        const char *hint; // empty: none
    } rows[] = {
        {{"47", "30.50", "-122", "18.25"}, english, ""},
        {{"47", "0", "-122", "59.999"}, english, ""},
        {{"47", "75.5", "-122", "18.25"},
         english,
         "The latitude minutes 75.5 are outside 0 to 60: Calculate took the position "
         "N 48° 15.500', W 122° 18.250' (48.2583333, -122.3041667)."},
        {{"-00", "60", "10", "-6"},
         english,
         "The latitude and longitude minutes 60 and -6 are outside 0 to 60: Calculate took the "
         "position S 1° 00.000', E 9° 54.000' (-1.0000000, 9.9000000)."},
        // "60,5" is 60.5 in German and out of range; in English it reads as 60 all the same.
        {{"47", "59,5", "8", "60,5"},
         german,
         "The longitude minutes 60,5 are outside 0 to 60: Calculate took the position "
         "N 47° 59.500', E 9° 00.500' (47.9916667, 9.0083333)."},
    };
    for (const auto &r : rows)
        EXPECT_EQ(minutesHint(r.typed, r.locale).toStdString(), r.hint)
            << r.typed.latMin.toStdString();
}
