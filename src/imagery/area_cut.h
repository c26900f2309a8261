#pragma once

#include "grid/geo_bounds.h"

#include <QImage>
#include <QString>

#include <functional>

// Where the coordinate system of a georeferenced file came from. The two assumptions are
// told to the user, since a wrong guess puts the image far from its place.
enum class CrsOrigin { File, ProjectionFile, AssumedDegrees, AssumedWebMercator };

// What a first look at a file tells, before anything is cut.
struct ImageProbe
{
    enum Kind {
        Georeferenced, // GDAL can place it on the globe
        Plain,         // no georeferencing: the picture is shown as it is
        Refused,       // it can be shown neither way; `reason` says why
    };
    Kind kind = Plain;
    // One sentence. For a plain file that GDAL could not read either, what GDAL said.
    QString reason;
};
ImageProbe probeImage(const QString &path);

// One LOD 13 area cut from a georeferenced file: 256 x 256 pixels, north up, in latitude and
// longitude, pixel p centred on grid point 4080 + 255 x area + p. Pixels the file does not
// cover are transparent.
struct AreaCut
{
    QImage image;    // null when the cut failed
    QString failure; // one sentence, when the image is null
    QString crsName;
    CrsOrigin crsOrigin = CrsOrigin::File;
    double sourceMetresPerPixel = 0;
    double cutMetresPerPixel = 0;
    double coveredShare = 0; // 0..1 of the area's pixels
    bool stopped = false;    // ended because `cancelled` said so

    bool ok() const { return !image.isNull(); }
};

// Never throws and never writes to stderr. `cancelled`, when given, is asked before the file
// is opened, after it is opened, before and during the warp, and before the image is made;
// the first true answer ends the cut there, as a failure with `stopped` set and no image.
AreaCut cutArea(const QString &path, const GridPlace &place,
                const std::function<bool()> &cancelled = {});

// The status line after a good cut: the file, its coordinate system, both ground resolutions
// and how much of the area it covers.
QString cutSummary(const QString &path, const AreaCut &cut);
