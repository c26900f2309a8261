#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

#include <QCommandLineOption>

class QCommandLineParser;

// What every command shares: a line to stdout or stderr, its usage errors and its --help.

void printLine(std::FILE *to, const QString &text);

// A usage error of `command`: the problem and where its options are listed, on stderr; 2.
int commandUsageError(const QString &command, const QString &problem);

// Reads the arguments after the command's name with the parser's options and positional
// arguments, adding -h/--help. Gives the exit code when the command ends here: 0 after
// printing its help, 2 after a usage error; nothing when the command goes on.
std::optional<int> parseCommandArguments(QCommandLineParser &parser, const QString &command,
                                         const QStringList &arguments);

// The options of the commands that write many areas: where the files go, and the LWM altitude.
QCommandLineOption outputFolderOption();
QCommandLineOption altitudeOption();
