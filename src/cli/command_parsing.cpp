#include "cli/command_parsing.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QStringList>

void printLine(std::FILE *to, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fputc('\n', to);
    std::fflush(to);
}

int commandUsageError(const QString &command, const QString &problem)
{
    printLine(stderr, QStringLiteral("marlith3 %1: %2").arg(command, problem));
    printLine(stderr, QStringLiteral("\"marlith3 %1 --help\" lists the options.").arg(command));
    return 2;
}

std::optional<int> parseCommandArguments(QCommandLineParser &parser, const QString &command,
                                         const QStringList &arguments)
{
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this text."));
    parser.addOption(help);
    const QString program = QStringLiteral("marlith3 ") + command;
    if (!parser.parse(QStringList{program} + arguments))
        return commandUsageError(command, parser.errorText());
    if (parser.isSet(help)) {
        // The parser names only the program; the command belongs to it.
        QString text = parser.helpText();
        text.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")),
                     QStringLiteral("Usage: ") + program);
        printLine(stdout, text.trimmed());
        return 0;
    }
    return std::nullopt;
}
