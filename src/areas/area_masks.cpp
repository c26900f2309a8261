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

bool AreaMasks::write(const SourceChoices &choices, const std::function<void(Written &&)> &made,
                      QStringList &refused, const std::function<bool()> &canceled) const
{
    std::vector<AreaPolygon> polygons;
    for (const auto &[key, area] : m_areas) {
        if (canceled && canceled())
            return false;
        polygons.clear();
        Written file{area.place, lwmFileName(area.place), {}, 0, 0};
        for (const std::vector<AreaPolygon> &layer : area.layer) {
            for (const AreaPolygon &p : layer) {
                polygons.push_back(p);
                ++(p.fill == LwmFill::Water ? file.water : file.land);
            }
        }
        AreaText text = lwmAreaFileText(area.place, polygons, choices);
        if (!text.failure.isEmpty()) {
            refused << text.failure;
            continue;
        }
        file.bytes = std::move(text.bytes);
        made(std::move(file));
    }
    return true;
}
