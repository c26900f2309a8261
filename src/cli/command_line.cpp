#include "cli/command_line.h"

#include "cli/areas_command.h"
#include "cli/command_parsing.h"
#include "cli/create_command.h"
#include "cli/osm_command.h"
#include "text/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdlib>

namespace {

// The commands, each with its synopsis for the usage text. Each reads its own options with
// parseCommandArguments, so that every one answers --help.
struct Command
{
    const char *name, *synopsis;
    int (*run)(const QStringList &arguments, ProgramLayout layout);
};
const Command commands[] = {
    {"create", "WORKFILE [--output-folder DIR]", runCreateCommand},
    {"areas",
     "SHAPEFILE --output-folder DIR [--shape NAME] [--fill water|land]\n"
     "                      [--altitude NUMBER] [--line-type CODE] [--vtp-layer N] "
     "[--vtp-width N]",
     [](const QStringList &arguments, ProgramLayout) { return runAreasCommand(arguments); }},
    {"osm",
     "EXTRACT --output-folder DIR [--cell CX CY | --bbox W S E N]\n"
     "                    [--no-water] [--no-roads] [--no-waterways] [--rules FILE]\n"
     "                    [--altitude NUMBER]",
     [](const QStringList &arguments, ProgramLayout) { return runOsmCommand(arguments); }},
};

const Command *commandNamed(const QString &name)
{
    for (const Command &c : commands) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

QString usage()
{
    QString text = QStringLiteral("Usage: marlith3 [FILE]\n");
    for (const Command &c : commands)
        text += QStringLiteral("       marlith3 %1 %2\n")
                    .arg(QLatin1String(c.name), QLatin1String(c.synopsis));
    text += QStringLiteral("       marlith3 COMMAND --help\n"
                           "       marlith3 --help | --version");
    return text;
}

int usageError(const QString &what)
{
    printLine(stderr, QStringLiteral("marlith3: ") + what);
    printLine(stderr, usage());
    return 2;
}

QString commandNames()
{
    QStringList names;
    for (const Command &c : commands)
        names << QLatin1String(c.name);
    return names.join(QStringLiteral(", "));
}

// A word with no suffix or folder in it, naming no file, was meant as a command.
bool looksLikeCommand(const QString &argument)
{
    return !argument.contains(u'.') && !argument.contains(u'/') && !argument.contains(u'\\')
           && !QFileInfo::exists(argument);
}

// Without a display Qt would abort while making the window; say so instead. Only where X11
// or Wayland is the way to a screen, and unless a platform was chosen.
bool hasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS) && !defined(Q_OS_ANDROID)
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
#else
    return true;
#endif
}

int runTopLevel(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Our own --help: Qt's adds --help-all, whose toolkit options this parser would refuse.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this text."));
    parser.addOption(help);
    parser.addVersionOption();
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("version"))) {
        printLine(stdout, QStringLiteral("marlith3 ") + programVersion());
        return 0;
    }
    if (parser.isSet(help)) {
        // Qt's text starts with the program's whole path; the usage above says more.
        const QString text = parser.helpText();
        printLine(stdout, usage()
                              + QStringLiteral("\n\nLand/water mask and vector terrain sources "
                                               "for flight-simulator scenery. FILE, a work file "
                                               "or a generated source, opens in the window; the "
                                               "commands run without one.\n\n")
                              + text.mid(text.indexOf(QStringLiteral("Options:"))).trimmed());
        return 0;
    }
    return usageError(QStringLiteral("the window opens one file at most."));
}

} // namespace

std::optional<int> runCommandLine(int &argc, char **argv, ProgramLayout layout)
{
    const QString first = argc < 2 ? QString() : QString::fromLocal8Bit(argv[1]);
    const Command *command = commandNamed(first);
    const bool option = first.startsWith(u'-');
    if (!command && !option) {
        if (argc >= 2 && looksLikeCommand(first))
            return usageError(QStringLiteral("\u201c%1\u201d is no command; the commands are %2.")
                                  .arg(first, commandNames()));
        if (argc > 2)
            return usageError(QStringLiteral("the window opens one file at most."));
        if (hasDisplay())
            return std::nullopt; // the window starts, with the file if one is named
        printLine(stderr, QStringLiteral("marlith3: there is no display to show the window on; "
                                         "the commands %1 run without one.")
                              .arg(commandNames()));
        return 1;
    }

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("marlith3"));
    QCoreApplication::setApplicationVersion(programVersion());
    const QStringList arguments = QCoreApplication::arguments();
    if (command)
        return command->run(arguments.mid(2), layout);
    return runTopLevel(arguments);
}
