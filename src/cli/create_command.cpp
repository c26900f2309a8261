#include "cli/create_command.h"

#include "cli/command_parsing.h"
#include "session/session.h"
#include "text/failure.h"
#include "text/runtime_error.h"
#include "writers/line_types.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString outputFolder(const QCommandLineParser &parser, const QCommandLineOption &folder,
                     ProgramLayout layout)
{
    if (parser.isSet(folder))
        return QDir::toNativeSeparators(QDir(parser.value(folder)).absolutePath());
    return startOutputFolder(layout,
                             QDir::toNativeSeparators(QCoreApplication::applicationDirPath()),
                             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                             rememberedOutputFolder());
}

// An empty list would replace the file of an earlier run by one without points: the file
// is left as it is, and the user is told.
void sayNotWritten(ListSide side, const QString &input, const QString &path,
                   const OpenOutcome &opened)
{
    const bool lwm = side == ListSide::Lwm;
    QString text = QStringLiteral("%1 was not written: %2 holds no %3 points")
                       .arg(QFileInfo(path).fileName(), input,
                            lwm ? QStringLiteral("LWM") : QStringLiteral("VTP"));
    if (lwm && opened.polygons > 0 && !opened.listed)
        text += QStringLiteral(", only %1 land %2")
                    .arg(opened.polygons)
                    .arg(opened.polygons == 1 ? "polygon" : "polygons");
    text += QFileInfo::exists(path)
                ? QStringLiteral("; the earlier %1 is kept.").arg(QDir::toNativeSeparators(path))
                : QStringLiteral(".");
    printLine(stderr, text);
}

// An area file of several polygons gives the list only its first water polygon; the file
// written from it would quietly lose the others.
void sayLeftOut(const QString &input, const QString &path, const OpenOutcome &opened)
{
    const int others = opened.polygons - 1;
    printLine(stderr, QStringLiteral("%1 holds only the first water polygon of the %2 in %3; "
                                     "%4 left out (%3 itself holds them all).")
                          .arg(QDir::toNativeSeparators(path))
                          .arg(opened.polygons)
                          .arg(input)
                          .arg(others == 1 ? QStringLiteral("the other one is")
                                           : QStringLiteral("the other %1 are").arg(others)));
}

} // namespace

int runCreateCommand(const QStringList &arguments, ProgramLayout layout)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes LWMSource.asm and VTPSource.asm as the window's Create buttons "
                       "do after opening WORKFILE. A file whose list holds no points is not "
                       "written, and an earlier one is kept."));
    const QCommandLineOption folder(QStringLiteral("output-folder"),
                                    QStringLiteral("Write the files into DIR."),
                                    QStringLiteral("DIR"));
    parser.addOption(folder);
    parser.addPositionalArgument(QStringLiteral("WORKFILE"),
                                 QStringLiteral("A .marlith work file, or an LWM or VTP source "
                                                "Marlith wrote."));
    if (const std::optional<int> done =
            parseCommandArguments(parser, QStringLiteral("create"), arguments))
        return *done;
    if (parser.positionalArguments().size() != 1)
        return commandUsageError(QStringLiteral("create"),
                                 QStringLiteral("create takes one work file."));
    // An empty DIR would quietly mean the current folder.
    if (parser.isSet(folder) && parser.value(folder).trimmed().isEmpty())
        return commandUsageError(QStringLiteral("create"),
                                 QStringLiteral("--output-folder names no folder."));
    const QString input = parser.positionalArguments().first();
    const QString shownInput = QDir::toNativeSeparators(input);

    Session session(outputFolder(parser, folder, layout));
    OpenOutcome opened;
    try {
        opened = session.open(input);
    } catch (const Failure &f) {
        printLine(stderr, QStringLiteral("%1 was not opened: %2").arg(shownInput, f.why));
        return 1;
    }
    int written = 0;
    try {
        for (const ListSide side : {ListSide::Lwm, ListSide::Vtp}) {
            const bool lwm = side == ListSide::Lwm;
            if (session.entries(side).isEmpty()) {
                sayNotWritten(side, shownInput,
                              lwm ? session.lwmSourcePath() : session.vtpSourcePath(), opened);
                continue;
            }
            const QString path = lwm ? session.createLwm() : session.createVtp();
            printLine(stdout, path);
            ++written;
            if (lwm && opened.polygons > 1)
                sayLeftOut(shownInput, path, opened);
            if (!lwm && !namesCatalogueLineType(session.text(Field::LineType)))
                printLine(stderr,
                          QStringLiteral("%1 was written with the line type \"%2\", which names "
                                         "no line type of the catalogue: pick one in the "
                                         "window's VTP line type box (a quoted code such as "
                                         "\"1139\"), save the work file and create again.")
                              .arg(QDir::toNativeSeparators(path), session.text(Field::LineType)));
        }
    } catch (const RuntimeError &e) {
        printLine(stderr, e.text(RuntimeError::Shown::CommandLine));
        if (e.number() == RuntimeError::PathFileAccess)
            printLine(stderr, QStringLiteral("--output-folder DIR writes into another folder."));
        return 1;
    }
    if (written == 0) {
        printLine(stderr, QStringLiteral("Nothing was written."));
        return 1;
    }
    return 0;
}
