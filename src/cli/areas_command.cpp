#include "cli/areas_command.h"

#include "areas/area_job.h"
#include "cli/command_parsing.h"
#include "writers/line_types.h"

#include <QCommandLineParser>

namespace {

int usage(const QString &problem)
{
    return commandUsageError(QStringLiteral("areas"), problem);
}

} // namespace

int runAreasCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes LWM_<cellx>_<celly>_<areax>_<areay>.asm for every LOD 13 area a "
                       "shape file's polygons cover and VTP_<cellx>_<celly>.asm for every LOD 8 "
                       "cell its lines cross."));
    parser.addPositionalArgument(QStringLiteral("SHAPEFILE"),
                                 QStringLiteral("A vector file GDAL reads, in any coordinate "
                                                "system it can turn into degrees."));
    const QCommandLineOption folder = outputFolderOption();
    const QCommandLineOption shape(QStringLiteral("shape"),
                                   QStringLiteral("Only this layer or feature, named as the "
                                                  "import picker lists it."),
                                   QStringLiteral("NAME"));
    const QCommandLineOption altitude = altitudeOption();
    const QCommandLineOption lineType(QStringLiteral("line-type"),
                                      QStringLiteral("A four-digit code of the VTP line-type "
                                                     "catalogue, such as 1139."),
                                      QStringLiteral("CODE"));
    const QCommandLineOption layer(QStringLiteral("vtp-layer"),
                                   QStringLiteral("The VTP layer, 0 to 100 (default 8)."),
                                   QStringLiteral("N"), layerStartText);
    const QCommandLineOption width(QStringLiteral("vtp-width"),
                                   QStringLiteral("The VTP line width (default 0)."),
                                   QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption fill(QStringLiteral("fill"),
                                  QStringLiteral("What the polygons are: water (the default; "
                                                 "their holes become land) or land (their "
                                                 "holes become water)."),
                                  QStringLiteral("water|land"), QStringLiteral("water"));
    parser.addOptions({folder, shape, fill, altitude, lineType, layer, width});

    if (const std::optional<int> done =
            parseCommandArguments(parser, QStringLiteral("areas"), arguments))
        return *done;
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return usage(files.isEmpty() ? QStringLiteral("Name one shape file.")
                                     : QStringLiteral("Name only one shape file."));
    if (!parser.isSet(folder) || parser.value(folder).isEmpty())
        return usage(QStringLiteral("Say where the files go with --output-folder."));

    AreasRequest request;
    request.shapePath = files.first();
    request.outputFolder = parser.value(folder);
    request.shape = parser.value(shape);
    const QString fillText = parser.value(fill).trimmed().toLower();
    if (fillText != QLatin1String("water") && fillText != QLatin1String("land"))
        return usage(QStringLiteral("--fill takes water or land."));
    request.fill = fillText == QLatin1String("land") ? LwmFill::Land : LwmFill::Water;
    request.choices.altitude = parser.value(altitude).trimmed();
    request.choices.layer = parser.value(layer).trimmed();
    request.choices.width = parser.value(width).trimmed();
    if (parser.isSet(lineType)) {
        request.choices.lineType = lineTypeOfCode(parser.value(lineType));
        if (request.choices.lineType.isEmpty())
            return usage(QStringLiteral("--line-type %1 is no code of the line-type catalogue "
                                        "(1024 to 1209).")
                             .arg(parser.value(lineType)));
    }

    if (const QString problem = areasRequestProblem(request); !problem.isEmpty())
        return usage(problem);
    const AreasOutcome outcome = writeAreas(request);
    if (outcome.result != AreasOutcome::Result::Written) {
        printLine(stderr, outcome.text);
        return 1;
    }
    printLine(stdout, outcome.text);
    for (const QString &warning : outcome.warnings)
        printLine(stderr, QStringLiteral("marlith3 areas: ") + warning);
    return 0;
}
