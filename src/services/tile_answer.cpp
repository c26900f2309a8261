#include "services/tile_answer.h"

#include <QBuffer>
#include <QImageReader>

namespace {

constexpr int tileSize = 256;
// Larger than any tile or GetMap picture a service sends for one area.
constexpr int largestSide = 4096;

TileAnswer failure(const QString &why)
{
    return {TileAnswer::Failure, {}, why};
}

} // namespace

TileAnswer readTileAnswer(int httpStatus, const QByteArray &bytes)
{
    if (httpStatus == 404 || httpStatus == 410 || httpStatus == 204)
        return {TileAnswer::Missing, {}, {}};
    if (httpStatus == 401 || httpStatus == 403)
        return failure(QStringLiteral("The service refused the request; it may block this "
                                      "program (HTTP %1).")
                           .arg(httpStatus));
    if (httpStatus == 429)
        return failure(QStringLiteral("The service asks for fewer requests (HTTP 429); try again "
                                      "later."));
    if (httpStatus >= 500 && httpStatus <= 599)
        return failure(QStringLiteral("The service failed to answer (HTTP %1); try again later.")
                           .arg(httpStatus));
    if (httpStatus < 200 || httpStatus > 299)
        return failure(
            QStringLiteral("The service gave an unexpected answer (HTTP %1).").arg(httpStatus));

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid()
        && (size.width() > largestSide || size.height() > largestSide || size.isEmpty()))
        return failure(QStringLiteral("The service sent a picture of %1 x %2 pixels, too large "
                                      "for a tile.")
                           .arg(size.width())
                           .arg(size.height()));
    QImage image = reader.read();
    if (image.isNull() || image.width() > largestSide || image.height() > largestSide)
        return failure(QStringLiteral("The service sent something that is not a picture."));
    if (image.size() != QSize(tileSize, tileSize))
        image = image.scaled(tileSize, tileSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return {TileAnswer::Picture, image.convertToFormat(QImage::Format_RGBA8888), {}};
}

bool isOneColour(const QImage &image)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    if (rgba.isNull())
        return false;
    const QRgb first = rgba.pixel(0, 0);
    for (int y = 0; y < rgba.height(); ++y)
        for (int x = 0; x < rgba.width(); ++x)
            if (rgba.pixel(x, y) != first)
                return false;
    return true;
}
