#pragma once

#include "imagery/area_cut.h"

#include <QImage>
#include <QString>

#include <array>
#include <functional>

// Pictures put together in their own coordinate system (tiles of a web service, say): the
// image, its GDAL geotransform and the EPSG code of the system it is in.
struct Mosaic
{
    QImage image; // transparent where nothing was put
    std::array<double, 6> geotransform{};
    int epsg = 4326;
};

// The area cut from the mosaic exactly as from a georeferenced file of the same pixels. `name`
// stands for the file's name in messages.
AreaCut cutAreaFromMosaic(const Mosaic &mosaic, const QString &name, const GridPlace &place,
                          const std::function<bool()> &cancelled = {});
