#include "text/runtime_error.h"

#include <gtest/gtest.h>

TEST(RuntimeError, ReportNamesNumberAndKind)
{
    const struct
    {
        RuntimeError::Number number;
        const char *report;
    } cases[] = {
        {RuntimeError::Overflow, "Run-time error '6':\n\nOverflow"},
        {RuntimeError::DivisionByZero, "Run-time error '11':\n\nDivision by zero"},
        {RuntimeError::TypeMismatch, "Run-time error '13':\n\nType mismatch"},
        {RuntimeError::PathFileAccess, "Run-time error '75':\n\nPath/File access error"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RuntimeError(c.number).reportText().toStdString(), c.report);
}
