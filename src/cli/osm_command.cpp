#include "cli/osm_command.h"

#include "cli/command_parsing.h"
#include "osm/osm_job.h"

#include <QCommandLineParser>
#include <QLocale>

namespace {

int usage(const QString &problem)
{
    return commandUsageError(QStringLiteral("osm"), problem);
}

bool isNumber(const QString &text)
{
    bool ok = false;
    QLocale::c().toDouble(text.trimmed(), &ok);
    return ok;
}

// --cell and --bbox take several numbers ("--cell 401 121"), which the parser would read as one
// value and positional arguments: the numbers after them are joined into their one value.
QStringList joinedNumbers(const QStringList &arguments)
{
    QStringList joined;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const int takes = a == u"--cell" ? 2 : a == u"--bbox" ? 4 : 0;
        joined << a;
        QStringList values;
        while (values.size() < takes && i + 1 < arguments.size() && isNumber(arguments[i + 1]))
            values << arguments[++i];
        if (!values.isEmpty())
            joined << values.join(u' ');
    }
    return joined;
}

} // namespace

int runOsmCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the water of an OpenStreetMap extract as one "
                       "LWM_<cellx>_<celly>_<areax>_<areay>.asm per LOD 13 area (islands as land) "
                       "and its roads and waterways as VTP_<cellx>_<celly>.asm per LOD 8 cell, "
                       "each line with the type the rules give it."));
    parser.addPositionalArgument(QStringLiteral("EXTRACT"),
                                 QStringLiteral("An OpenStreetMap file: .osm or .osm.pbf (also "
                                                ".osm.gz)."));
    const QCommandLineOption folder = outputFolderOption();
    const QCommandLineOption cell(QStringLiteral("cell"),
                                  QStringLiteral("Only the LOD 8 cell CX CY (give the option "
                                                 "twice or as \"CX CY\"; for example --cell 529 "
                                                 "--cell 120)."),
                                  QStringLiteral("CX CY"));
    const QCommandLineOption box(QStringLiteral("bbox"),
                                 QStringLiteral("Only the areas and cells the box touches: west, "
                                                "south, east, north in degrees."),
                                 QStringLiteral("W S E N"));
    const QCommandLineOption noWater(QStringLiteral("no-water"),
                                     QStringLiteral("Writes no LWM files."));
    const QCommandLineOption noRoads(QStringLiteral("no-roads"),
                                     QStringLiteral("Writes no roads."));
    const QCommandLineOption noWaterways(QStringLiteral("no-waterways"),
                                         QStringLiteral("Writes no rivers, streams or canals."));
    const QCommandLineOption rules(QStringLiteral("rules"),
                                   QStringLiteral("The rules file that maps tags to water, land "
                                                  "and line types (default: the shipped "
                                                  "osm.rules)."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption altitude = altitudeOption();
    parser.addOptions({folder, cell, box, noWater, noRoads, noWaterways, rules, altitude});

    if (const std::optional<int> done =
            parseCommandArguments(parser, QStringLiteral("osm"), joinedNumbers(arguments)))
        return *done;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return usage(files.isEmpty() ? QStringLiteral("Name one OpenStreetMap extract.")
                                     : QStringLiteral("Name only one OpenStreetMap extract."));
    if (!parser.isSet(folder) || parser.value(folder).isEmpty())
        return usage(QStringLiteral("Say where the files go with --output-folder."));
    if (parser.isSet(cell) && parser.isSet(box))
        return usage(QStringLiteral("Give --cell or --bbox, not both."));

    OsmRequest request;
    request.extractPath = files.first();
    request.outputFolder = parser.value(folder);
    request.altitude = parser.value(altitude).trimmed();
    request.water = !parser.isSet(noWater);
    request.roads = !parser.isSet(noRoads);
    request.waterways = !parser.isSet(noWaterways);
    if (const QString problem = osmRequestProblem(request); !problem.isEmpty())
        return usage(problem);
    if (parser.isSet(cell) || parser.isSet(box)) {
        const bool isCell = parser.isSet(cell);
        const QString text = parser.values(isCell ? cell : box).join(u' ');
        const OsmBoxOrError read = isCell ? readOsmCell(text) : readOsmBox(text);
        if (!read.failure.isEmpty())
            return usage((isCell ? QStringLiteral("--cell: ") : QStringLiteral("--bbox: "))
                         + read.failure);
        request.box = read.box;
    }
    if (parser.isSet(rules)) {
        request.rulesPath = parser.value(rules);
        const OsmRulesOrError read = loadOsmRules(request.rulesPath);
        if (!read.failure.isEmpty()) {
            printLine(stderr, read.failure);
            return 1;
        }
        request.rules = read.rules;
    }

    const OsmOutcome outcome = writeOsmAreas(request);
    if (outcome.result != AreasOutcome::Result::Written) {
        printLine(stderr, outcome.text);
        return 1;
    }
    printLine(stdout, outcome.text);
    return 0;
}
