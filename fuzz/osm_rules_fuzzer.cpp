// Any text as a rules file: refused as a whole with the number of a line it holds and why, or
// read to rules that each keep their line, their catalogue code, layer, width and lanes in
// range, and that the first rule of a pattern matches a feature tagged with it.
#include "fuzz_support.h"
#include "osm/osm_rules.h"
#include "writers/line_types.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(bytes), qsizetype(size));
    const OsmRulesOrError read = readOsmRules(text);
    const qsizetype lineCount = text.count(u'\n') + 1;
    if (!read.failure.isEmpty()) {
        FUZZ_CHECK(read.rules.rules.empty());
        FUZZ_CHECK(read.failure.endsWith(u'.'));
        if (read.failure == u"The rules file holds no rule.")
            return 0;
        static const QRegularExpression numbered(QStringLiteral("^Line (\\d+): \\S"));
        const QRegularExpressionMatch m = numbered.match(read.failure);
        FUZZ_CHECK(m.hasMatch());
        const qsizetype line = m.captured(1).toLongLong();
        FUZZ_CHECK(line >= 1 && line <= lineCount);
        // The refused line is no comment and not blank.
        const QString refused = text.split(u'\n').at(line - 1).trimmed();
        FUZZ_CHECK(!refused.isEmpty() && !refused.startsWith(u'#'));
        return 0;
    }
    FUZZ_CHECK(!read.rules.rules.empty());
    int previous = 0;
    for (const OsmRule &rule : read.rules.rules) {
        FUZZ_CHECK(rule.lineNumber > previous && rule.lineNumber <= lineCount);
        previous = rule.lineNumber;
        FUZZ_CHECK(!rule.key.isEmpty() && !rule.key.contains(u'=') && !rule.key.contains(u' '));
        for (const QString &value : rule.values)
            FUZZ_CHECK(!value.isEmpty() && !value.contains(u'|') && !value.contains(u' '));
        bool ok = false;
        const int layer = rule.layer.toInt(&ok);
        FUZZ_CHECK(ok && layer >= 0 && layer <= 100);
        FUZZ_CHECK(QLocale::c().toDouble(rule.width, &ok) >= 0 && ok);
        FUZZ_CHECK(rule.lanes >= 1 && rule.lanes <= 10);
        FUZZ_CHECK(rule.code == 0 || (rule.code >= 1024 && rule.code <= 1209));
        FUZZ_CHECK(rule.kind != OsmRule::Kind::Line || rule.code != 0);

        // A feature with this rule's tag meets this rule or an earlier one of its kind.
        const OsmTags tags{
            {rule.key, rule.values.isEmpty() ? QStringLiteral("x") : rule.values.first()}};
        const bool area = rule.kind == OsmRule::Kind::Water || rule.kind == OsmRule::Kind::Land;
        const OsmRule *first = area ? areaRule(read.rules, tags) : lineRule(read.rules, tags);
        FUZZ_CHECK(first && first->lineNumber <= rule.lineNumber);
        if (rule.kind == OsmRule::Kind::Road || rule.kind == OsmRule::Kind::Line) {
            FUZZ_CHECK(namesCatalogueLineType(lineTypeFor(rule, tags)));
            FUZZ_CHECK(
                namesCatalogueLineType(lineTypeFor(rule, {{"lanes", "99"}, {"surface", "dirt"}})));
        }
        if (area) {
            const QString tag =
                rule.values.isEmpty() ? rule.key : rule.key + u'=' + rule.values.first();
            FUZZ_CHECK(read.rules.areaTags().contains(tag));
        }
    }
    return 0;
}
