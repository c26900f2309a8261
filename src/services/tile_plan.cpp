#include "services/tile_plan.h"

#include "grid/grid_constants.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int tileSize = 256;
// Web Mercator's square ends here, north and south.
constexpr double mercatorLimit = 85.0511287798066;
// Half the equator of the sphere EPSG:3857 projects on, in metres.
constexpr double halfWorld = std::numbers::pi * 6378137.0;

constexpr double pixelWidth = lod::areaWidth / lod::areaPitch;
constexpr double pixelHeight = lod::areaHeight / lod::areaPitch;

// The cut's outer edges: half a pixel beyond the centres of its outermost pixels.
GeoBounds cutExtent(const GridPlace &place)
{
    const GeoBounds area = areaBounds(place);
    return {area.north + pixelHeight / 2, area.south - pixelHeight / 2, area.west - pixelWidth / 2,
            area.east + pixelWidth / 2};
}

double tileColumn(double longitude, int zoom)
{
    return (longitude + 180) / 360 * std::ldexp(1.0, zoom);
}

double tileRow(double latitude, int zoom)
{
    const double phi = std::clamp(latitude, -mercatorLimit, mercatorLimit) * std::numbers::pi / 180;
    return (1 - std::asinh(std::tan(phi)) / std::numbers::pi) / 2 * std::ldexp(1.0, zoom);
}

// The tiles from the one holding `from` to the one holding `to`, within the world; a tile
// that the extent only touches at its edge is left out.
std::pair<int, int> tileSpan(double from, double to, int zoom)
{
    const int last = (1 << zoom) - 1;
    return {std::clamp(int(std::floor(from)), 0, last),
            std::clamp(int(std::ceil(to)) - 1, 0, last)};
}

QString degrees(double value)
{
    return QString::number(value, 'f', 9);
}

} // namespace

int zoomFor(const GridPlace &place, int maxZoom)
{
    // A tile pixel at zoom z is 360 / (256 x 2^z) degrees of longitude, so cos(latitude) times
    // that in degrees of a great circle; the cut's pixel is the mean of its two sides.
    const GeoBounds area = areaBounds(place);
    const double latitude =
        std::clamp((area.north + area.south) / 2, -mercatorLimit, mercatorLimit);
    const double c = std::cos(latitude * std::numbers::pi / 180);
    const double cutPixel = std::sqrt(pixelWidth * c * pixelHeight);
    const double needed = std::log2(360 * c / (tileSize * cutPixel));
    // A hair of tolerance, so that a zoom that just meets the cut is not doubled by rounding.
    const int zoom = int(std::ceil(needed - 1e-9));
    return std::clamp(zoom, 0, std::clamp(maxZoom, 0, deepestZoom));
}

QString quadkey(int zoom, int x, int y)
{
    QString key;
    for (int level = zoom; level > 0; --level) {
        const int bit = 1 << (level - 1);
        key += QChar(u'0' + ((x & bit) ? 1 : 0) + ((y & bit) ? 2 : 0));
    }
    return key;
}

QString tileAddress(const ImageryService &service, int zoom, int x, int y)
{
    QString address = service.urlTemplate;
    address.replace(QStringLiteral("{z}"), QString::number(zoom));
    address.replace(QStringLiteral("{x}"), QString::number(x));
    address.replace(QStringLiteral("{-y}"), QString::number((1 << zoom) - 1 - y));
    address.replace(QStringLiteral("{y}"), QString::number(y));
    address.replace(QStringLiteral("{q}"), quadkey(zoom, x, y));
    address.replace(QStringLiteral("{width}"), QString::number(tileSize));
    address.replace(QStringLiteral("{height}"), QString::number(tileSize));
    return address;
}

AreaRequests planRequests(const ImageryService &service, const GridPlace &place)
{
    const GeoBounds extent = cutExtent(place);
    AreaRequests plan;
    if (service.kind == ServiceKind::Wms) {
        QString address = service.urlTemplate;
        address.replace(QStringLiteral("{west}"), degrees(extent.west));
        address.replace(QStringLiteral("{south}"), degrees(extent.south));
        address.replace(QStringLiteral("{east}"), degrees(extent.east));
        address.replace(QStringLiteral("{north}"), degrees(extent.north));
        address.replace(QStringLiteral("{width}"), QString::number(tileSize));
        address.replace(QStringLiteral("{height}"), QString::number(tileSize));
        plan.tiles.append({QUrl(address), 0, 0});
        plan.columns = plan.rows = 1;
        plan.geotransform = {extent.west, pixelWidth, 0, extent.north, 0, -pixelHeight};
        plan.epsg = 4326;
        return plan;
    }
    if (extent.south >= mercatorLimit || extent.north <= -mercatorLimit) {
        plan.failure = QStringLiteral("Tile services end at 85° of latitude; this area lies "
                                      "beyond.");
        return plan;
    }
    plan.zoom = zoomFor(place, service.maxZoom);
    const auto [firstX, lastX] =
        tileSpan(tileColumn(extent.west, plan.zoom), tileColumn(extent.east, plan.zoom), plan.zoom);
    const auto [firstY, lastY] =
        tileSpan(tileRow(extent.north, plan.zoom), tileRow(extent.south, plan.zoom), plan.zoom);
    plan.columns = lastX - firstX + 1;
    plan.rows = lastY - firstY + 1;
    for (int y = firstY; y <= lastY; ++y)
        for (int x = firstX; x <= lastX; ++x)
            plan.tiles.append(
                {QUrl(tileAddress(service, plan.zoom, x, y)), x - firstX, y - firstY});
    const double metres = 2 * halfWorld / (tileSize * std::ldexp(1.0, plan.zoom));
    plan.geotransform = {-halfWorld + firstX * tileSize * metres, metres, 0,
                         halfWorld - firstY * tileSize * metres,  0,      -metres};
    plan.epsg = 3857;
    return plan;
}
