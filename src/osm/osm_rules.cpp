#include "osm/osm_rules.h"

#include "writers/line_types.h"

#include <QFile>
#include <QLocale>

#include <algorithm>
#include <array>
#include <set>

namespace {

constexpr std::array catalogueLanes{1, 2, 4, 6, 8, 10};

bool isKeyText(QStringView text)
{
    return !text.isEmpty() && std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.isSpace() || c == u'=' || c == u'|' || c == u'"'
               || c.category() == QChar::Other_Control;
    });
}

std::optional<RoadSurface> surfaceNamed(QStringView name)
{
    static const std::pair<const char16_t *, RoadSurface> names[] = {
        {u"concrete", RoadSurface::Concrete},
        {u"asphalt", RoadSurface::Asphalt},
        {u"gravel", RoadSurface::Gravel},
        {u"dirt", RoadSurface::Dirt},
    };
    for (const auto &[text, surface] : names) {
        if (name == QStringView(text))
            return surface;
    }
    return std::nullopt;
}

// OpenStreetMap's surface values, grouped into the catalogue's four.
std::optional<RoadSurface> surfaceOfTag(const QString &value)
{
    static const std::pair<QStringList, RoadSurface> groups[] = {
        {{"concrete", "concrete:plates", "concrete:lanes", "paving_stones", "sett", "cobblestone",
          "unhewn_cobblestone", "metal", "wood"},
         RoadSurface::Concrete},
        {{"asphalt", "paved", "chipseal"}, RoadSurface::Asphalt},
        {{"gravel", "fine_gravel", "compacted", "pebblestone", "rock"}, RoadSurface::Gravel},
        {{"unpaved", "dirt", "earth", "ground", "grass", "sand", "mud", "grass_paver"},
         RoadSurface::Dirt},
    };
    for (const auto &[values, surface] : groups) {
        if (values.contains(value))
            return surface;
    }
    return std::nullopt;
}

bool isYes(const std::optional<QString> &value)
{
    return value && (*value == u"yes" || *value == u"true" || *value == u"1");
}

bool matches(const OsmRule &rule, const OsmTags &tags)
{
    const std::optional<QString> value = tagValue(tags, rule.key);
    return value && (rule.values.isEmpty() || rule.values.contains(*value));
}

const OsmRule *firstRule(const OsmRules &rules, const OsmTags &tags,
                         std::initializer_list<OsmRule::Kind> kinds)
{
    for (const OsmRule &rule : rules.rules) {
        if (std::find(kinds.begin(), kinds.end(), rule.kind) != kinds.end() && matches(rule, tags))
            return &rule;
    }
    return nullptr;
}

// The catalogue item of `code`, or the empty text.
QString catalogueItem(int code)
{
    const QString quoted = QStringLiteral("\"%1\"").arg(code);
    for (const QString &item : lineTypeCatalogue()) {
        if (item.startsWith(quoted))
            return item;
    }
    return {};
}

// One option of a rule line; the reason it is refused, or the empty text.
QString readOption(OsmRule &rule, QStringView option)
{
    const qsizetype equals = option.indexOf(u'=');
    const QStringView name = equals < 0 ? option : option.first(equals);
    const QStringView value = equals < 0 ? QStringView() : option.sliced(equals + 1);
    const bool road = rule.kind == OsmRule::Kind::Road;
    const bool line = road || rule.kind == OsmRule::Kind::Line;
    auto wholeNumber = [&value](int low, int high) -> std::optional<int> {
        bool ok = false;
        const int n = value.toInt(&ok);
        return ok && n >= low && n <= high ? std::optional(n) : std::nullopt;
    };
    if (name == u"divided" && equals < 0 && road) {
        rule.divided = true;
    } else if (name == u"code" && line) {
        const std::optional<int> code = wholeNumber(1024, 1209);
        if (!code || catalogueItem(*code).isEmpty())
            return QStringLiteral("code= takes a code of the line-type catalogue, 1024 to 1209");
        rule.code = *code;
    } else if (name == u"width" && line) {
        bool ok = false;
        const double width = QLocale::c().toDouble(value, &ok);
        if (!ok || width < 0)
            return QStringLiteral("width= takes a number of 0 or more, written with a point");
        rule.width = value.toString();
    } else if (name == u"layer" && line) {
        if (!wholeNumber(0, 100))
            return QStringLiteral("layer= takes a whole number from 0 to 100");
        rule.layer = QString::number(*wholeNumber(0, 100));
    } else if (name == u"lanes" && road) {
        const std::optional<int> lanes = wholeNumber(1, 10);
        if (!lanes)
            return QStringLiteral("lanes= takes a whole number from 1 to 10");
        rule.lanes = *lanes;
    } else if (name == u"surface" && road) {
        const std::optional<RoadSurface> surface = surfaceNamed(value);
        if (!surface)
            return QStringLiteral("surface= takes concrete, asphalt, gravel or dirt");
        rule.surface = *surface;
    } else {
        return QStringLiteral("\u201c%1\u201d is no option of a %2 rule")
            .arg(option.toString(), road   ? QStringLiteral("road")
                                    : line ? QStringLiteral("line")
                                           : QStringLiteral("water, land or skip"));
    }
    return {};
}

QString readRule(QStringView text, OsmRule &rule)
{
    const QList<QStringView> fields = text.split(u' ', Qt::SkipEmptyParts);
    if (fields.size() < 2)
        return QStringLiteral("a rule is a tag pattern and what it becomes, such as "
                              "\u201cnatural=water water\u201d");
    const QStringView pattern = fields[0];
    const qsizetype equals = pattern.indexOf(u'=');
    if (equals <= 0 || !isKeyText(pattern.first(equals)))
        return QStringLiteral("\u201c%1\u201d is no tag pattern: write key=value, "
                              "key=value1|value2 or key=*")
            .arg(pattern.toString());
    rule.key = pattern.first(equals).toString();
    const QStringView values = pattern.sliced(equals + 1);
    if (values != u"*") {
        for (QStringView value : values.split(u'|')) {
            if (!isKeyText(value))
                return QStringLiteral("\u201c%1\u201d is no tag pattern: a value is missing or "
                                      "holds = or \"")
                    .arg(pattern.toString());
            rule.values << value.toString();
        }
    }
    static const std::pair<const char16_t *, OsmRule::Kind> kinds[] = {
        {u"water", OsmRule::Kind::Water}, {u"land", OsmRule::Kind::Land},
        {u"road", OsmRule::Kind::Road},   {u"line", OsmRule::Kind::Line},
        {u"skip", OsmRule::Kind::Skip},
    };
    const auto kind = std::find_if(std::begin(kinds), std::end(kinds), [&](const auto &k) {
        return fields[1] == QStringView(k.first);
    });
    if (kind == std::end(kinds))
        return QStringLiteral("\u201c%1\u201d is no kind: write water, land, road, line or skip")
            .arg(fields[1].toString());
    rule.kind = kind->second;
    for (qsizetype i = 2; i < fields.size(); ++i) {
        if (const QString why = readOption(rule, fields[i]); !why.isEmpty())
            return why;
    }
    if (rule.kind == OsmRule::Kind::Line && rule.code == 0)
        return QStringLiteral("a line rule needs code=NNNN, a code of the line-type catalogue");
    return {};
}

} // namespace

std::optional<QString> tagValue(const OsmTags &tags, QStringView key)
{
    for (const auto &[k, v] : tags) {
        if (k == key)
            return v;
    }
    return std::nullopt;
}

OsmTags readTagList(QStringView text)
{
    OsmTags tags;
    qsizetype at = 0;
    auto quoted = [&]() -> std::optional<QString> {
        if (at >= text.size() || text[at] != u'"')
            return std::nullopt;
        QString out;
        for (++at; at < text.size(); ++at) {
            if (text[at] == u'"') {
                ++at;
                return out;
            }
            if (text[at] == u'\\' && at + 1 < text.size())
                ++at;
            out += text[at];
        }
        return std::nullopt;
    };
    while (at < text.size()) {
        const std::optional<QString> key = quoted();
        if (!key || !text.sliced(at).startsWith(u"=>"))
            break;
        at += 2;
        const std::optional<QString> value = quoted();
        if (!value)
            break;
        tags.emplace_back(*key, *value);
        if (at < text.size() && text[at] != u',')
            break;
        ++at;
    }
    return tags;
}

QStringList OsmRules::areaTags() const
{
    std::set<QString> tags;
    for (const OsmRule &rule : rules) {
        if (rule.kind != OsmRule::Kind::Water && rule.kind != OsmRule::Kind::Land)
            continue;
        if (rule.values.isEmpty())
            tags.insert(rule.key);
        for (const QString &value : rule.values)
            tags.insert(rule.key + u'=' + value);
    }
    return {tags.begin(), tags.end()};
}

OsmRulesOrError readOsmRules(QStringView text)
{
    OsmRulesOrError out;
    int number = 0;
    for (QStringView line : text.split(u'\n')) {
        ++number;
        if (line.endsWith(u'\r'))
            line.chop(1);
        QString plain = line.toString();
        plain.replace(u'\t', u' ');
        const QStringView trimmed = QStringView(plain).trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        OsmRule rule;
        rule.lineNumber = number;
        if (const QString why = readRule(trimmed, rule); !why.isEmpty()) {
            out.rules.rules.clear();
            out.failure = QStringLiteral("Line %1: %2.").arg(number).arg(why);
            return out;
        }
        out.rules.rules.push_back(std::move(rule));
    }
    if (out.rules.rules.empty())
        out.failure = QStringLiteral("The rules file holds no rule.");
    return out;
}

QString shippedOsmRulesText()
{
    QFile file(QStringLiteral(":/marlith/osm.rules"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

const OsmRules &shippedOsmRules()
{
    static const OsmRules rules = readOsmRules(shippedOsmRulesText()).rules;
    return rules;
}

const OsmRule *areaRule(const OsmRules &rules, const OsmTags &tags)
{
    return firstRule(rules, tags, {OsmRule::Kind::Water, OsmRule::Kind::Land, OsmRule::Kind::Skip});
}

const OsmRule *lineRule(const OsmRules &rules, const OsmTags &tags)
{
    return firstRule(rules, tags, {OsmRule::Kind::Road, OsmRule::Kind::Line, OsmRule::Kind::Skip});
}

QString lineTypeFor(const OsmRule &rule, const OsmTags &tags)
{
    if (rule.code != 0)
        return catalogueItem(rule.code);
    const bool divided = rule.divided || isYes(tagValue(tags, u"dual_carriageway"));
    int lanes = rule.lanes;
    if (const std::optional<QString> tagged = tagValue(tags, u"lanes")) {
        // "2;3" or "2.5" are found on real roads: the leading whole number counts.
        qsizetype digits = 0;
        while (digits < tagged->size() && digits < 3 && tagged->at(digits).isDigit())
            ++digits;
        const int n = QStringView(*tagged).first(digits).toInt();
        if (n > 0) {
            // The lanes of one carriageway of a divided road; the catalogue counts both.
            const bool oneway = isYes(tagValue(tags, u"oneway"));
            lanes = divided && oneway ? 2 * n : n;
        }
    }
    const auto fit = std::lower_bound(catalogueLanes.begin(), catalogueLanes.end(), lanes);
    const int laneIndex = fit == catalogueLanes.end() ? int(catalogueLanes.size()) - 1
                                                      : int(fit - catalogueLanes.begin());
    RoadSurface surface = rule.surface;
    if (const std::optional<QString> tagged = tagValue(tags, u"surface"))
        surface = surfaceOfTag(*tagged).value_or(surface);
    // Each road group lists 1, 2, 4, 6, 8 and 10 lanes, each in concrete, asphalt, gravel and dirt.
    const QString heading = divided ? QStringLiteral(";ROADS - Divided Median")
                                    : QStringLiteral(";ROADS - Undivided Median");
    const QStringList &items = lineTypeCatalogue();
    const qsizetype first = items.indexOf(heading) + 1;
    return items.at(first + laneIndex * 4 + int(surface));
}

QString featureKind(const OsmTags &tags)
{
    static const char16_t *const kinds[] = {
        u"natural",  u"water",   u"waterway", u"landuse", u"highway",  u"railway",
        u"building", u"amenity", u"leisure",  u"place",   u"boundary", u"man_made",
        u"barrier",  u"power",   u"aeroway",  u"tourism", u"shop",     u"type"};
    for (const char16_t *key : kinds) {
        if (const std::optional<QString> value = tagValue(tags, QStringView(key)))
            return QStringView(key).toString() + u'=' + *value;
    }
    if (tags.empty())
        return QStringLiteral("no tags");
    return tags.front().first + u'=' + tags.front().second;
}
