#include "areas/area_files.h"

#include "canvas/point_capture.h"
#include "grid/grid_constants.h"
#include "text/runtime_error.h"
#include "writers/source_writers.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

struct Texts
{
    QString degrees, minutes;
};

Texts degreesMinutes(double value)
{
    const double whole = std::trunc(value);
    const double minutes = std::abs(value - whole) * 60;
    // A sign in front of zero degrees still says which side of zero the minutes lie on.
    const QString degrees = whole == 0 && value < 0 ? QStringLiteral("-0") : QString::number(whole);
    return {degrees, QString::number(minutes, 'f', 2).rightJustified(5, u'0')};
}

// Calculate's captions for the centre texts, which must name `place` again.
GridCaptions calculated(const GridPlace &place, const CoordinateTexts &typed)
{
    GridCaptions c = calculateGrid(typed, QLocale::c());
    const auto expected = [](int value) { return QString::number(value); };
    if (c.error || c.areaY != expected(place.areaRow) || c.areaX != expected(place.areaColumn)
        || c.cellX != expected(place.cellColumn) || c.cellY != expected(place.cellRow))
        throw std::logic_error("the centre of an area does not calculate back to it");
    return c;
}

} // namespace

CoordinateTexts centreTexts(const GridPlace &place)
{
    const GeoBounds area = areaBounds(place);
    const Texts lat = degreesMinutes((area.north + area.south) / 2);
    const Texts lng = degreesMinutes((area.west + area.east) / 2);
    return {lat.degrees, lat.minutes, lng.degrees, lng.minutes};
}

namespace {

// What the window holds after the centre texts are typed, Calculate is pressed and the part's
// pixels are pressed.
struct Pressed
{
    CoordinateTexts typed;
    GridCaptions captions;
    CaptureRun run;
};

Pressed pressed(const GridPlace &place, const std::vector<ImagePosition> &pixels,
                const SourceChoices &choices)
{
    const CoordinateTexts typed = centreTexts(place);
    const GridCaptions c = calculated(place, typed);
    return {typed, c,
            captureRun(pixels, place.areaColumn, place.areaRow, QString(), choices.width, 0, 0)};
}

} // namespace

AreaText lwmAreaFileText(const GridPlace &place, const std::vector<AreaPolygon> &polygons,
                         const SourceChoices &choices)
{
    const CoordinateTexts t = centreTexts(place);
    const GridCaptions c = calculated(place, t);
    LwmAreaInputs in{t.latDeg, t.latMin, t.longDeg, t.longMin,        *c.cellX,
                     *c.cellY, *c.areaX, *c.areaY,  choices.altitude, {}};
    if (qsizetype(polygons.size()) > lwmPolygonLimit)
        return {{},
                QStringLiteral("%1 would hold %2 polygons; one area takes at most %3.")
                    .arg(lwmFileName(place))
                    .arg(polygons.size())
                    .arg(lwmPolygonLimit)};
    in.polygons.reserve(polygons.size());
    for (const AreaPolygon &p : polygons) {
        if (p.pixels.empty())
            continue;
        CaptureRun run =
            captureRun(p.pixels, place.areaColumn, place.areaRow, QString(), choices.width, 0, 0);
        in.polygons.push_back({p.fill, run.last.lwmCounter, std::move(run.lwmEntries)});
    }
    try {
        return {lwmAreaText(in, QLocale::c()), {}};
    } catch (const RuntimeError &e) {
        return {{},
                QStringLiteral("%1 cannot be written: %2.").arg(lwmFileName(place), e.detail())};
    }
}

QByteArray vtpPartText(const GridPlace &place, const std::vector<ImagePosition> &pixels,
                       const SourceChoices &choices)
{
    const auto [t, c, run] = pressed(place, pixels, choices);
    return vtpSourceText({t.latDeg, t.latMin, t.longDeg, t.longMin, *c.cellX, *c.cellY,
                          choices.layer, run.last.vtpCounter, choices.lineType, run.vtpEntries},
                         QLocale::c());
}

namespace {
QString numbered(QString name, int partNumber)
{
    if (partNumber > 1)
        name += u'_' + QString::number(partNumber);
    return name + QStringLiteral(".asm");
}
} // namespace

QString lwmFileName(const GridPlace &place)
{
    return QStringLiteral("LWM_%1_%2_%3_%4.asm")
        .arg(place.cellColumn)
        .arg(place.cellRow)
        .arg(place.areaColumn)
        .arg(place.areaRow);
}

QString vtpFileName(int cellColumn, int cellRow, int partNumber)
{
    return numbered(QStringLiteral("VTP_%1_%2").arg(cellColumn).arg(cellRow), partNumber);
}

GridPlace placeOfGlobalArea(int column, int row)
{
    return {column / lod::areasPerCell, row / lod::areasPerCell, column % lod::areasPerCell,
            row % lod::areasPerCell};
}

GridPlace placeOf(GeoPoint point)
{
    const int lastColumn = (lod::lastCellColumn + 1) * lod::areasPerCell - 1;
    const int lastRow = (lod::lastCellRow + 1) * lod::areasPerCell - 1;
    const int column = int(
        std::clamp(std::floor((point.longitude + 180) / lod::areaWidth), 0.0, double(lastColumn)));
    const int row =
        int(std::clamp(std::floor((90 - point.latitude) / lod::areaHeight), 0.0, double(lastRow)));
    return placeOfGlobalArea(column, row);
}
