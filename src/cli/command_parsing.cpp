#include "cli/command_parsing.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QStringList>

#ifdef Q_OS_WIN
#include <windows.h>

namespace {
// The program is a window program, so Windows gives it no console of its own: a command
// typed in a console writes into that one, unless its output goes to a file or a pipe.
HANDLE outputHandle(DWORD which)
{
    static const bool attached = [] {
        if (GetStdHandle(STD_OUTPUT_HANDLE) && GetStdHandle(STD_ERROR_HANDLE))
            return false;
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return false;
        const HANDLE console =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        for (DWORD std : {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
            if (!GetStdHandle(std))
                SetStdHandle(std, console);
        }
        return true;
    }();
    Q_UNUSED(attached);
    return GetStdHandle(which);
}
} // namespace
#endif

void printLine(std::FILE *to, const QString &text)
{
#ifdef Q_OS_WIN
    // A console shows its own code page, in which the ANSI bytes of “quotes” or a user's name
    // come out garbled; it takes UTF-16 whole. A file or a pipe gets UTF-8.
    const HANDLE handle = outputHandle(to == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && handle && GetConsoleMode(handle, &mode)) {
        std::fflush(to);
        const QString line = text + u'\n';
        DWORD written = 0;
        WriteConsoleW(handle, line.utf16(), DWORD(line.size()), &written, nullptr);
        return;
    }
    std::fputs(text.toUtf8().constData(), to);
#else
    std::fputs(text.toLocal8Bit().constData(), to);
#endif
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

QCommandLineOption outputFolderOption()
{
    return {QStringLiteral("output-folder"),
            QStringLiteral("Where the files go (made if missing)."), QStringLiteral("DIR")};
}

QCommandLineOption altitudeOption()
{
    return {QStringLiteral("altitude"), QStringLiteral("The LWM altitude in metres (default 0)."),
            QStringLiteral("NUMBER"), QStringLiteral("0")};
}
