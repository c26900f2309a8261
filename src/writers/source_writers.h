#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <vector>

// The control texts each writer reads, as the window holds them at the moment of Create.
struct LwmInputs
{
    QString latDeg, latMin, longDeg, longMin, cellX, cellY, areaX, areaY, lwmNumber, altitude;
    QStringList entries;
};

// A polygon's fill, the third field of its LWMPoly2 line. Polygons are drawn in file order, a
// later one over an earlier one: a lake, then its islands as land.
enum class LwmFill { Water = 0, Land = 1 };

struct LwmPolygon
{
    LwmFill fill = LwmFill::Water;
    QString lwmNumber; // the counter text, as for the window's single polygon
    QStringList entries;

    friend bool operator==(const LwmPolygon &, const LwmPolygon &) = default;
};

// One LOD 13 area's mask with all of its polygons, in drawing order.
struct LwmAreaInputs
{
    QString latDeg, latMin, longDeg, longMin, cellX, cellY, areaX, areaY, altitude;
    std::vector<LwmPolygon> polygons;
};

// Up to this many polygons the area's header counts them; beyond, its extended form does.
inline constexpr int lwmPlainPolygonLimit = 6;
// The extended header counts 7 plus one byte.
inline constexpr int lwmPolygonLimit = 7 + 255;

struct VtpInputs
{
    QString latDeg, latMin, longDeg, longMin, cellX, cellY, layer, vtpNumber, lineType;
    QStringList entries;
};

// The whole file, every line ended by CR LF, in a single-byte encoding (characters outside
// Latin-1 become "?"). Numbers are written with "." whatever the locale, because the
// compiler reads "."; the typed degrees are still read in the user's locale. A bad degrees
// text throws RuntimeError 13, a count outside 0..255 throws 6; nothing is written then.
QByteArray lwmSourceText(const LwmInputs &in, const QLocale &locale);
QByteArray vtpSourceText(const VtpInputs &in, const QLocale &locale);
// The area's whole file with every polygon in order, each as the single polygon above is
// written (its line, an empty line, its entries, an empty line). With one water polygon the
// bytes are exactly lwmSourceText's. More than lwmPolygonLimit polygons throw RuntimeError 6
// naming the area; so does a counter outside 0..255, as above. Nothing is returned then.
QByteArray lwmAreaText(const LwmAreaInputs &in, const QLocale &locale);

// The program folder followed by the file name; a root folder keeps its own separator.
QString lwmSourcePath(const QString &programFolder);
QString vtpSourcePath(const QString &programFolder);

// Replaces the file at `path` as a whole or not at all. On failure an earlier file stays as
// it was and the result says why; on success it is empty.
QString replaceFile(const QString &path, const QByteArray &bytes);
// The same for a source file, whose failure is RuntimeError 75. A missing folder is made
// first, so that an output folder comes into being with its first file.
void writeSourceFile(const QString &path, const QByteArray &bytes);
