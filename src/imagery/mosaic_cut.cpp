#include "imagery/mosaic_cut.h"

#include "imagery/gdal_setup.h"
#include "imagery/georeferencing.h"

namespace {

AreaCut failed(const QString &reason)
{
    AreaCut cut;
    cut.failure = reason;
    return cut;
}

} // namespace

AreaCut cutAreaFromMosaic(const Mosaic &mosaic, const QString &name, const GridPlace &place,
                          const std::function<bool()> &cancelled)
{
    setUpGdal();
    // The name stands for a file's; a slash in it would be taken for a folder.
    const QString shownName = QString(name).replace(u'/', u'-').replace(u'\\', u'-');
    if (mosaic.image.isNull())
        return failed(QStringLiteral("%1 sent no picture.").arg(shownName));
    // An alpha band only where the picture has one: GDAL warps plain colour bands faster.
    const bool alpha = mosaic.image.hasAlphaChannel();
    const int bands = alpha ? 4 : 3;
    const QImage pixels =
        mosaic.image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const int width = pixels.width(), height = pixels.height();

    GeoRaster raster;
    GDALDriver *memory = GetGDALDriverManager()->GetDriverByName("MEM");
    raster.dataset.reset(memory ? memory->Create("", width, height, bands, GDT_Byte, nullptr)
                                : nullptr);
    if (!raster.dataset)
        return failed(QStringLiteral("There is not enough memory to put %1's pictures together.")
                          .arg(shownName));
    const GDALColorInterp colours[] = {GCI_RedBand, GCI_GreenBand, GCI_BlueBand, GCI_AlphaBand};
    for (int b = 0; b < bands; ++b)
        raster.dataset->GetRasterBand(b + 1)->SetColorInterpretation(colours[b]);
    std::array<double, 6> gt = mosaic.geotransform;
    raster.dataset->SetGeoTransform(gt.data());
    if (raster.dataset->RasterIO(GF_Write, 0, 0, width, height,
                                 const_cast<uchar *>(pixels.constBits()), width, height, GDT_Byte,
                                 bands, nullptr, bands, pixels.bytesPerLine(), 1, nullptr)
            != CE_None
        || raster.crs.importFromEPSG(mosaic.epsg) != OGRERR_NONE)
        return failed(fullSentence(QStringLiteral("%1's pictures could not be put together: %2")
                                       .arg(shownName, lastGdalError())));
    raster.crs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    raster.kind = ImageProbe::Georeferenced;
    raster.crsOrigin = CrsOrigin::File;
    return cutGeoRaster(raster, shownName, place, cancelled);
}
