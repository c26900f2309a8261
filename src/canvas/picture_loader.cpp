#include "canvas/picture_loader.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLocale>

namespace {
QString quoted(const QString &path)
{
    return QStringLiteral("\u201c%1\u201d").arg(QFileInfo(path).fileName());
}
} // namespace

PictureRead readPicture(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return {{}, QStringLiteral("%1 is no longer there.").arg(quoted(path))};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    // The header's size is known before anything is decoded; a size refused later by Qt's
    // own allocation limit would leave no word why.
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > mostPicturePixels) {
        const QLocale c = QLocale::c();
        return {{},
                QStringLiteral("%1 is %2 \u00d7 %3 pixels, more than Marlith opens: at most %4 "
                               "million pixels, such as 8000 \u00d7 8000.")
                    .arg(quoted(path), c.toString(size.width()), c.toString(size.height()))
                    .arg(mostPicturePixels / 1'000'000)};
    }
    reader.setAllocationLimit(int(mostPicturePixels * 4 / (1024 * 1024)) + 1);
    QImage image = reader.read();
    if (image.isNull())
        return {{},
                QStringLiteral("%1 cannot be shown: it is damaged, or not a BMP, JPEG, GIF or PNG "
                               "picture.")
                    .arg(quoted(path))};
    return {image, {}};
}

std::optional<QImage> loadPicture(const QString &path)
{
    PictureRead read = readPicture(path);
    if (read.image.isNull())
        return std::nullopt;
    return read.image;
}

QString imageDialogFilter()
{
    const std::pair<const char *, const char *> kinds[] = {
        {"GeoTIFF", "*.tif *.tiff"},
        {"JPEG", "*.jpg *.jpeg"},
        {"PNG", "*.png"},
        {"GIF", "*.gif"},
        {"BMP", "*.bmp"},
        {"JPEG 2000", "*.jp2"},
        {"MBTiles", "*.mbtiles"},
        {"GeoPackage", "*.gpkg"},
        {"GDAL virtual raster", "*.vrt"},
    };
    QStringList every, each;
    for (const auto &[name, patterns] : kinds) {
        every << QLatin1String(patterns);
        each << QStringLiteral("%1 (%2)").arg(QLatin1String(name), QLatin1String(patterns));
    }
    return QStringLiteral("Every image Marlith can use (%1);;BMP, JPEG, GIF (*.gif *.jpg *.bmp);;")
               .arg(every.join(u' '))
           + each.join(QStringLiteral(";;")) + QStringLiteral(";;All files (*)");
}
