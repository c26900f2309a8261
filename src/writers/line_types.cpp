#include "writers/line_types.h"

#include <algorithm>

namespace {

enum class Set { Own, Ocean, Lake, River, Roads, DividedRoads };

struct Group
{
    const char *heading = nullptr;
    int gap = 0; // blanks between the quoted code and the ";"
    Set set = Set::Own;
    QStringList own;                 // the descriptions of a group with a set of its own
    const char *separator = nullptr; // the item after the group; nullptr after the last
};

QStringList shorelines(const char *dry)
{
    return {"white sand", "tan sand", "black sand",
            "urban",      "harbor",   "ice",
            "bank",       "swamp",    QString::fromLatin1(dry)};
}

QStringList roads(bool divided)
{
    QStringList out;
    for (int lanes : {1, 2, 4, 6, 8, 10}) {
        for (const char *surface : {"concrete", "asphalt", "gravel", "dirt"}) {
            out << QStringLiteral("%1 / %2 %3")
                       .arg(QLatin1String(surface))
                       .arg(lanes)
                       .arg(lanes == 1 ? "lane" : "lanes");
        }
    }
    // The divided-median group has always carried this one in the singular.
    if (divided)
        out[8] = QStringLiteral("concrete / 4 lane");
    return out;
}

QStringList descriptions(const Group &g)
{
    switch (g.set) {
    case Set::Ocean:
        return shorelines("dry oceanbed");
    case Set::Lake:
        return shorelines("dry lakebed");
    case Set::River:
        return shorelines("dry riverbed");
    case Set::Roads:
        return roads(false);
    case Set::DividedRoads:
        return roads(true);
    case Set::Own:
        break;
    }
    return g.own;
}

QStringList buildCatalogue()
{
    const Group groups[] = {
        {";Stream Lines", 1, Set::Own, {"unknown/perennial", "unknown/non-perennial"}, ""},
        {";Ocean Shorelines - Perennial", 3, Set::Ocean, {}, ""},
        {";Ocean Shorelines - Non Perennial", 3, Set::Ocean, {}, ""},
        {";Ocean Shorelines - Surf", 3, Set::Ocean, {}, ""},
        {";Ocean Shoreline - No Surf", 3, Set::Ocean, {}, ""},
        {";Lake Shorelines - Perennial", 3, Set::Lake, {}, ""},
        {";Lake Shorelines - Non Perennial", 3, Set::Lake, {}, ""},
        {";Lake Shorelines - Surf", 3, Set::Lake, {}, ""},
        {";Lake Shorelines - No Surf", 3, Set::Lake, {}, ""},
        {";River Shorelines - Perennial", 3, Set::River, {}, " "},
        {";River Shorelines - Non Perennial", 3, Set::River, {}, " "},
        {";River Shorelines - Surf", 3, Set::River, {}, ""},
        {";River Shorelines - No Surf", 3, Set::River, {}, ""},
        {";ROADS - Divided Median", 2, Set::DividedRoads, {}, ""},
        {";ROADS - Undivided Median", 2, Set::Roads, {}, ""},
        {";Airport Backgrounds",
         2,
         Set::Own,
         {"Unknown", "Grass", "Arid", "Dirt", "Tundra", "Coral", "Lava", "Low Sparse Grassland",
          "Cold Grassland", "Cool Grasses and Shrubs", "Marsh Wetland", "Mire Bog Fen",
          "Sand Desert", "Bare Desert", "Semi Desert Sage", "Semi Desert Shrub", "Barren Tundra",
          "Upland Tundra", "Ice"},
         ""},
        {";Parks",
         2,
         Set::Own,
         {"City Park", "Forest Park", "Grass Park", "Golf Course", "Cement Park",
          "Tan Sand Beach Park", "White Coral Beach Park", "Black Sand Beach Park"},
         ""},
        {";Non Perennial Hydro Polygons", 2, Set::Own, {"All Types"}, nullptr},
    };
    QStringList items;
    int code = 1024;
    for (const Group &g : groups) {
        items << QString::fromLatin1(g.heading);
        for (const QString &d : descriptions(g))
            items << QStringLiteral("\"%1\"%2;%3").arg(code++).arg(QString(g.gap, u' '), d);
        if (g.separator)
            items << QString::fromLatin1(g.separator);
    }
    return items;
}

QStringList buildLayers()
{
    QStringList items;
    for (int i = 0; i <= 100; ++i)
        items << QString::number(i);
    return items;
}

} // namespace

const QStringList &lineTypeCatalogue()
{
    static const QStringList items = buildCatalogue();
    return items;
}

QString lineTypeOfCode(const QString &code)
{
    const QString quotedCode = u'"' + code.trimmed() + u'"';
    for (const QString &item : lineTypeCatalogue()) {
        if (item.startsWith(quotedCode))
            return item;
    }
    return {};
}

const QStringList &layerItems()
{
    static const QStringList items = buildLayers();
    return items;
}

bool namesCatalogueLineType(const QString &text)
{
    const QString t = text.trimmed();
    if (t.size() < 6 || t[0] != u'"' || t[5] != u'"')
        return false;
    const QStringView code = QStringView(t).first(6);
    const QStringList &items = lineTypeCatalogue();
    return std::any_of(items.begin(), items.end(),
                       [code](const QString &item) { return item.startsWith(code); });
}
