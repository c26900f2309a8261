#include "text/typed_text.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

struct Case
{
    std::u16string_view typed, kept;
};

const Case typedTextCases[] = {
    {u"47", u"47"},
    {u"4\t7", u"4 7"},
    {u"51,5\r\n", u"51,5"},
    {u"VTPWidePoint 1,\n2", u"VTPWidePoint 1,2"},
    {std::u16string_view(u"a\u0000b\u001fc\u007fd", 7), u"abcd"},
    {u"Grüße \u00a0é", u"Grüße \u00a0é"}, // printable text outside ASCII stays
};

TEST(TypedText, KeepsWhatCanBeSavedAndReadBack)
{
    for (const Case &c : typedTextCases) {
        const QString typed = QString::fromUtf16(c.typed.data(), c.typed.size());
        const QString kept = typedText(typed);
        EXPECT_EQ(kept, QString::fromUtf16(c.kept.data(), c.kept.size())) << qPrintable(typed);
        EXPECT_TRUE(isTypedText(kept));
        EXPECT_EQ(typedText(kept), kept) << "the rule is applied once and for all";
        EXPECT_EQ(isTypedText(typed), kept == typed);
    }
}

} // namespace
