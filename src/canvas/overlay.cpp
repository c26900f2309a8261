#include "canvas/overlay.h"

#include "grid/grid_constants.h"

#include <QList>

namespace {
// The whole numbers after `prefix`, separated by ", ".
std::optional<QList<int>> fields(QStringView entry, QStringView prefix, qsizetype expected)
{
    if (!entry.startsWith(prefix))
        return std::nullopt;
    QList<int> values;
    for (QStringView part : entry.sliced(prefix.size()).split(u',')) {
        bool ok = false;
        values << part.trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (values.size() != expected)
        return std::nullopt;
    return values;
}
} // namespace

std::optional<QPointF> lwmEntryPixel(QStringView entry)
{
    const auto v = fields(entry, u"LWMPoint ", 2);
    if (!v)
        return std::nullopt;
    return QPointF((*v)[0], (*v)[1]);
}

std::optional<QPointF> vtpEntryPixel(QStringView entry, double areaColumn, double areaRow)
{
    const auto v = fields(entry, u"VTPWidePoint ", 4);
    if (!v)
        return std::nullopt;
    return QPointF((*v)[0] - lod::gridOrigin - lod::areaPitch * areaColumn,
                   (*v)[2] - lod::gridOrigin - lod::areaPitch * areaRow);
}
