#include "text/runtime_error.h"

#include <gtest/gtest.h>

// The box keeps one text for each number; the status line and the command line add what
// failed when the failing step can tell.
TEST(RuntimeError, EachPlaceShowsNumberKindAndDetail)
{
    using Shown = RuntimeError::Shown;
    const struct
    {
        RuntimeError::Number number;
        const char *detail, *box, *status, *commandLine;
    } cases[] = {
        {RuntimeError::Overflow, "", "Run-time error '6':\n\nOverflow",
         "Run-time error 6: Overflow.", "Run-time error '6': Overflow"},
        {RuntimeError::DivisionByZero, "", "Run-time error '11':\n\nDivision by zero",
         "Run-time error 11: Division by zero.", "Run-time error '11': Division by zero"},
        {RuntimeError::TypeMismatch, "the latitude degrees \"north\" are no number",
         "Run-time error '13':\n\nType mismatch",
         "Run-time error 13: the latitude degrees \"north\" are no number.",
         "Run-time error '13': Type mismatch\nthe latitude degrees \"north\" are no number"},
        {RuntimeError::PathFileAccess, "the folder %1 could not be made",
         "Run-time error '75':\n\nPath/File access error",
         "Run-time error 75: the folder %1 could not be made.",
         "Run-time error '75': Path/File access error\nthe folder %1 could not be made"},
    };
    for (const auto &c : cases) {
        const RuntimeError e(c.number, QString::fromUtf8(c.detail));
        EXPECT_EQ(e.text(Shown::Box).toStdString(), c.box);
        EXPECT_EQ(e.text(Shown::StatusLine).toStdString(), c.status);
        EXPECT_EQ(e.text(Shown::CommandLine).toStdString(), c.commandLine);
    }
}
