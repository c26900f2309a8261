#include "areas/area_masks.h"

#include "grid/grid_constants.h"

namespace {

int layerOf(const AreaPart &part)
{
    if (!part.hole)
        return part.fill == LwmFill::Water ? 0 : 1;
    return part.fill == LwmFill::Land ? 1 : 2;
}

} // namespace

void AreaMasks::add(const OGRGeometry &polygonal, LwmFill fill, PolygonTally &tally,
                    const std::function<bool()> &canceled)
{
    polygonAreaParts(
        polygonal, tally,
        [this](AreaPart &&part) {
            const GridPlace &p = part.place;
            const std::pair key{p.cellRow * lod::areasPerCell + p.areaRow,
                                p.cellColumn * lod::areasPerCell + p.areaColumn};
            Layers &area = m_areas[key];
            area.place = p;
            area.layer[layerOf(part)].push_back({part.fill, std::move(part.pixels)});
        },
        fill, canceled);
}

bool AreaMasks::forEachArea(const AreaVisit &visit, const std::function<bool()> &canceled) const
{
    std::vector<AreaPolygon> polygons;
    for (const auto &[key, area] : m_areas) {
        if (canceled && canceled())
            return false;
        polygons.clear();
        for (const std::vector<AreaPolygon> &layer : area.layer)
            polygons.insert(polygons.end(), layer.begin(), layer.end());
        visit(area.place, polygons);
    }
    return true;
}

bool AreaMasks::write(const SourceChoices &choices, const std::function<void(Written &&)> &made,
                      QStringList &refused, const std::function<bool()> &canceled) const
{
    return forEachArea(
        [&](const GridPlace &place, const std::vector<AreaPolygon> &polygons) {
            AreaText text = lwmAreaFileText(place, polygons, choices);
            if (!text.failure.isEmpty()) {
                refused << text.failure;
                return;
            }
            Written file{place, lwmFileName(place), std::move(text.bytes), 0, 0};
            for (const AreaPolygon &p : polygons)
                ++(p.fill == LwmFill::Water ? file.water : file.land);
            made(std::move(file));
        },
        canceled);
}
