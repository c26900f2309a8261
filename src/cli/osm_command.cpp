#include "cli/osm_command.h"

#include "osm/osm_job.h"

#include <QCommandLineParser>
#include <QDir>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>

namespace {

void print(std::FILE *to, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fputc('\n', to);
}

int usage(const QString &problem)
{
    print(stderr, problem);
    print(stderr, QStringLiteral("\"marlith3 osm --help\" lists the options."));
    return 2;
}

// The whole number or the number a text holds, or NaN.
double number(const QString &text)
{
    bool ok = false;
    const double n = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok ? n : std::nan("");
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
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this text."));
    const QCommandLineOption folder(QStringLiteral("output-folder"),
                                    QStringLiteral("Where the files go (made if missing)."),
                                    QStringLiteral("DIR"));
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
    const QCommandLineOption altitude(QStringLiteral("altitude"),
                                      QStringLiteral("The LWM altitude text (default 0)."),
                                      QStringLiteral("TEXT"), QStringLiteral("0"));
    parser.addOptions({help, folder, cell, box, noWater, noRoads, noWaterways, rules, altitude});

    // --cell and --bbox take several numbers: the ones after them are joined to them first.
    QStringList joined{QStringLiteral("marlith3 osm")};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const int takes = a == u"--cell" ? 2 : a == u"--bbox" ? 4 : 0;
        joined << a;
        if (takes == 0)
            continue;
        QStringList values;
        while (values.size() < takes && i + 1 < arguments.size()
               && !std::isnan(number(arguments[i + 1])))
            values << arguments[++i];
        if (!values.isEmpty())
            joined << values.join(u' ');
    }
    if (!parser.parse(joined))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        text.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")),
                     QStringLiteral("Usage: marlith3 osm"));
        print(stdout, text);
        return 0;
    }
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
    request.altitude = parser.value(altitude);
    request.water = !parser.isSet(noWater);
    request.roads = !parser.isSet(noRoads);
    request.waterways = !parser.isSet(noWaterways);
    if (!request.water && !request.roads && !request.waterways)
        return usage(QStringLiteral("--no-water, --no-roads and --no-waterways together leave "
                                    "nothing to write."));
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
            print(stderr, read.failure);
            return 1;
        }
        request.rules = read.rules;
    }

    const OsmOutcome outcome = writeOsmAreas(request);
    if (outcome.result != AreasOutcome::Result::Written) {
        print(stderr, outcome.text);
        return 1;
    }
    print(stdout, outcome.text);
    return 0;
}
