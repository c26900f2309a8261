#include "mercator_tiles.h"

#include <QBuffer>

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <cmath>
#include <numbers>

MercatorTiles::MercatorTiles(int zoom, int firstX, int firstY, int columns, int rows)
    : zoom(zoom), firstX(firstX), firstY(firstY), columns(columns), rows(rows),
      image(columns * 256, rows * 256, QImage::Format_RGB888)
{
    // Ramps that never repeat within a tile and a coarse pattern across tiles, so that a tile
    // put in the wrong place changes the cut.
    for (int y = 0; y < image.height(); ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            line[3 * x] = uchar(x * 7 / 3);
            line[3 * x + 1] = uchar(y * 5 / 2);
            line[3 * x + 2] = uchar((x / 64) * 40 + (y / 64) * 70);
        }
    }
}

std::array<double, 6> MercatorTiles::geotransform() const
{
    const double half = std::numbers::pi * 6378137.0;
    const double metres = 2 * half / (256 * std::ldexp(1.0, zoom));
    return {-half + firstX * 256 * metres, metres, 0, half - firstY * 256 * metres, 0, -metres};
}

void MercatorTiles::writeGeoTiff(const QString &path) const
{
    GDALDriver *driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    GDALDatasetUniquePtr out(driver->Create(path.toUtf8().constData(), image.width(),
                                            image.height(), 3, GDT_Byte, nullptr));
    std::array<double, 6> gt = geotransform();
    out->SetGeoTransform(gt.data());
    OGRSpatialReference crs;
    crs.importFromEPSG(3857);
    out->SetSpatialRef(&crs);
    if (out->RasterIO(GF_Write, 0, 0, image.width(), image.height(),
                      const_cast<uchar *>(image.constBits()), image.width(), image.height(),
                      GDT_Byte, 3, nullptr, 3, image.bytesPerLine(), 1, nullptr)
        != CE_None)
        std::abort();
}

ServedAnswer MercatorTiles::answer(const QString &path) const
{
    const QStringList parts = path.section(u'.', 0, 0).split(u'/', Qt::SkipEmptyParts);
    if (parts.size() != 3 || parts[0].toInt() != zoom)
        return {404, {}};
    const int column = parts[1].toInt() - firstX, row = parts[2].toInt() - firstY;
    if (column < 0 || row < 0 || column >= columns || row >= rows)
        return {404, {}};
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.copy(column * 256, row * 256, 256, 256).save(&png, "PNG");
    return {200, png.data()};
}
