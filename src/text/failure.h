#pragma once

#include <QString>

// An operation the user can mend that was refused or failed before it changed anything:
// what was not done (may be empty) and why, in the user's words. The window shows it in a
// message box and goes on; the command line prints it.
struct Failure
{
    QString what, why;

    QString text() const { return what.isEmpty() ? why : what + QStringLiteral("\n\n") + why; }
};
