#include "cli/command_line.h"

#include "cli/areas_command.h"
#include "cli/osm_command.h"
#include "session/session.h"
#include "text/runtime_error.h"
#include "text/version.h"
#include "workfile/work_file.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTextStream>

namespace {

const QString usage = QStringLiteral("Usage: marlith3 [FILE]\n"
                                     "       marlith3 create WORKFILE [--output-folder DIR]\n"
                                     "       marlith3 areas SHAPEFILE --output-folder DIR "
                                     "[--shape NAME] [--altitude TEXT]\n"
                                     "                      [--line-type CODE] [--vtp-layer N] "
                                     "[--vtp-width N]\n"
                                     "       marlith3 osm EXTRACT --output-folder DIR "
                                     "[--cell CX CY | --bbox W S E N]\n"
                                     "                    [--no-water] [--no-roads] "
                                     "[--no-waterways] [--rules FILE]\n"
                                     "       marlith3 --help | --version\n");

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int usageError(const QString &what)
{
    err() << "marlith3: " << what << "\n" << usage;
    err().flush();
    return 2;
}

// The window's Create of both files after opening the work file, stopping where the window
// would stop.
int create(const QStringList &arguments, ProgramLayout layout)
{
    QCommandLineParser parser;
    const QCommandLineOption folder(QStringLiteral("output-folder"),
                                    QStringLiteral("Write the files into DIR."),
                                    QStringLiteral("DIR"));
    parser.addOption(folder);
    parser.addPositionalArgument(QStringLiteral("WORKFILE"), QStringLiteral("A .marlith file."));
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.positionalArguments().size() != 1)
        return usageError(QStringLiteral("create takes one work file."));
    const QString workFile = parser.positionalArguments().first();

    Session session(
        parser.isSet(folder)
            ? QDir::toNativeSeparators(QDir(parser.value(folder)).absolutePath())
            : startOutputFolder(layout,
                                QDir::toNativeSeparators(QCoreApplication::applicationDirPath()),
                                QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                                rememberedOutputFolder()));
    try {
        session.open(workFile);
    } catch (const OpenFault &f) {
        err() << QDir::toNativeSeparators(workFile) << " was not opened: " << f.text << "\n";
        return 1;
    }
    try {
        out() << session.createLwm() << "\n";
        out().flush();
        out() << session.createVtp() << "\n";
    } catch (const RuntimeError &e) {
        out().flush();
        err() << "Run-time error '" << int(e.number()) << "': " << e.description() << "\n";
        if (!e.detail().isEmpty())
            err() << e.detail() << "\n";
        if (e.number() == RuntimeError::PathFileAccess)
            err() << "--output-folder DIR writes into another folder.\n";
        return 1;
    }
    return 0;
}

} // namespace

std::optional<int> runCommandLine(int &argc, char **argv, ProgramLayout layout)
{
    if (argc < 2)
        return std::nullopt;
    const QString first = QString::fromLocal8Bit(argv[1]);
    const bool command = first == QStringLiteral("create") || first == QStringLiteral("areas")
                         || first == QStringLiteral("osm") || first.startsWith(u'-');
    if (!command && argc == 2)
        return std::nullopt; // a file for the window to open

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("marlith3"));
    QCoreApplication::setApplicationVersion(programVersion());
    QStringList arguments = QCoreApplication::arguments();
    if (first == QStringLiteral("areas"))
        return runAreasCommand(arguments.mid(2));
    if (first == QStringLiteral("osm"))
        return runOsmCommand(arguments.mid(2));
    if (first == QStringLiteral("create")) {
        arguments.removeAt(1);
        const int code = create(arguments, layout);
        out().flush();
        err().flush();
        return code;
    }
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Land/water mask and vector terrain sources for flight-simulator "
                       "scenery.\n\n")
        + usage);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A work file or a generated source to open."));
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("version"))) {
        out() << "marlith3 " << programVersion() << "\n";
        out().flush();
        return 0;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out() << parser.helpText();
        out().flush();
        return 0;
    }
    return usageError(QStringLiteral("the window opens one file at most."));
}
