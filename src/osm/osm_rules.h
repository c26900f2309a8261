#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

// Which OpenStreetMap features become water, land or which VTP line: the rules file, read
// and applied without GDAL. The shipped file, rules/osm.rules, documents the syntax.

// A feature's tags in the order the extract gives them.
using OsmTags = std::vector<std::pair<QString, QString>>;

// The value of `key`, or none.
std::optional<QString> tagValue(const OsmTags &tags, QStringView key);

// The tags of GDAL's other_tags / all_tags field: "key"=>"value","key2"=>"value2", with \" and
// \\ escaped inside the quotes. Anything that does not read so ends the list there.
OsmTags readTagList(QStringView text);

enum class RoadSurface { Concrete, Asphalt, Gravel, Dirt };

struct OsmRule
{
    enum class Kind { Water, Land, Road, Line, Skip };
    QString key;
    QStringList values; // empty: any value
    Kind kind = Kind::Skip;
    int code = 0; // a catalogue code; 0 for a road whose code follows from its tags
    QString width = QStringLiteral("0");
    QString layer = QStringLiteral("8");
    int lanes = 2;
    RoadSurface surface = RoadSurface::Asphalt;
    bool divided = false;
    int lineNumber = 0; // in the rules file
};

struct OsmRules
{
    std::vector<OsmRule> rules;
    // Keys whose closed ways are areas, and key=value pairs for the rest: what GDAL's
    // OSM driver is told, so that a closed way tagged for water is read as a polygon.
    QStringList areaTags() const;
};

struct OsmRulesOrError
{
    OsmRules rules;
    QString failure; // "Line 12: ...", naming the line and why it was refused
};

// Every line is checked; the first bad one refuses the whole file.
OsmRulesOrError readOsmRules(QStringView text);

// The rules shipped with the program.
const OsmRules &shippedOsmRules();
QString shippedOsmRulesText();

// The first rule whose pattern the tags match among those for areas (water, land, skip)
// or for lines (road, line, skip); none when no rule maps the feature.
const OsmRule *areaRule(const OsmRules &rules, const OsmTags &tags);
const OsmRule *lineRule(const OsmRules &rules, const OsmTags &tags);

// The catalogue item a road or a line becomes (as the line-type box lists it), from its rule
// and its own lanes=*, surface=*, oneway=* and dual_carriageway=* tags.
QString lineTypeFor(const OsmRule &rule, const OsmTags &tags);

// What a feature no rule maps is counted as: "building=yes", the first of the keys that name
// what a feature is, else its first tag, else "no tags".
QString featureKind(const OsmTags &tags);
