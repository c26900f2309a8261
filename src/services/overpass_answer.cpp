#include "services/overpass_answer.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

// An Overpass string: quotes and backslashes escaped.
QByteArray quotedValue(const QString &text)
{
    QString out = text;
    out.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return '"' + out.toUtf8() + '"';
}

QString sentence(QString text)
{
    text = text.simplified();
    if (text.size() > 200)
        text = text.left(199) + u'\u2026';
    if (!text.endsWith(u'.'))
        text += u'.';
    return text;
}

QString statusFailure(int status)
{
    switch (status) {
    case 400:
        return QStringLiteral("The server refused the query (HTTP 400).");
    case 429:
        return QStringLiteral("The server is busy with other queries from this address (HTTP "
                              "429); try again in a minute.");
    case 504:
        return QStringLiteral("The server ran out of time (HTTP 504); try again later, when it "
                              "is less busy.");
    default:
        return QStringLiteral("The server answered with HTTP %1 instead of the data.").arg(status);
    }
}

} // namespace

QByteArray overpassQuery(const OsmRules &rules, const GeoBounds &box)
{
    QByteArray query = QStringLiteral("[out:xml][timeout:180][bbox:%1,%2,%3,%4];\n(\n")
                           .arg(box.south, 0, 'f', 7)
                           .arg(box.west, 0, 'f', 7)
                           .arg(box.north, 0, 'f', 7)
                           .arg(box.east, 0, 'f', 7)
                           .toUtf8();
    for (const OsmRule &rule : rules.rules) {
        if (rule.kind == OsmRule::Kind::Skip)
            continue;
        QByteArray filter = '[' + quotedValue(rule.key);
        if (!rule.values.isEmpty()) {
            QStringList values;
            for (const QString &v : rule.values) {
                // Only the characters the server's regular expressions treat as special.
                QString escaped;
                for (QChar c : v) {
                    if (QStringView(u".[]()*+?{}|^$\\").contains(c))
                        escaped += u'\\';
                    escaped += c;
                }
                values << escaped;
            }
            filter += '~' + quotedValue(QStringLiteral("^(%1)$").arg(values.join(u'|')));
        }
        filter += ']';
        const bool area = rule.kind == OsmRule::Kind::Water || rule.kind == OsmRule::Kind::Land;
        query += "  way" + filter + ";\n";
        if (area)
            query += "  relation" + filter + ";\n";
    }
    query += ");\n(._;>;);\nout body;\n";
    return query;
}

OverpassAnswer readOverpassAnswer(int httpStatus, const QByteArray &bytes)
{
    OverpassAnswer answer;
    if (httpStatus != 200) {
        answer.failure = statusFailure(httpStatus);
        return answer;
    }
    QXmlStreamReader xml(bytes);
    bool root = false;
    QString remark;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        if (!root) {
            if (name != u"osm") {
                answer.failure = QStringLiteral("The server sent no OpenStreetMap data.");
                return answer;
            }
            root = true;
        } else if (name == u"node") {
            ++answer.nodes;
        } else if (name == u"way") {
            ++answer.ways;
        } else if (name == u"relation") {
            ++answer.relations;
        } else if (name == u"remark") {
            remark = xml.readElementText(QXmlStreamReader::SkipChildElements);
        }
    }
    if (xml.hasError() || !root) {
        answer.failure = root ? QStringLiteral("The server's answer is cut short or damaged.")
                              : QStringLiteral("The server sent no OpenStreetMap data.");
        return answer;
    }
    if (remark.contains(u"error", Qt::CaseInsensitive)) {
        answer.failure = sentence(QStringLiteral("The server stopped before the end: ") + remark);
        return answer;
    }
    answer.ok = true;
    return answer;
}
