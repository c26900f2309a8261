#pragma once

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

struct CommandCase
{
    const char *what;
    QStringList arguments; // "IN" and "OUT" stand for the input file and the output folder
    int exitCode;
    int files; // .asm files written
};

// Runs each case into a folder of its own.
inline void expectCommandCases(const std::function<int(const QStringList &)> &command,
                               const QString &input, std::initializer_list<CommandCase> cases)
{
    for (const CommandCase &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir out;
        QStringList arguments = c.arguments;
        arguments.replaceInStrings(QStringLiteral("IN"), input);
        arguments.replaceInStrings(QStringLiteral("OUT"), out.path());
        EXPECT_EQ(command(arguments), c.exitCode);
        EXPECT_EQ(QDir(out.path()).entryList({"*.asm"}).size(), c.files);
    }
}
