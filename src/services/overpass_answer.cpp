#include "services/overpass_answer.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>

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

// The stream reader lets through what the extract reader (Expat) refuses: names of other
// characters than XML's, control characters, and bytes that are no UTF-8 (after the root
// element too). The server's names are all ASCII, so a name is checked against that part of
// XML's rule.
bool serverName(QStringView name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool start =
            (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u':';
        const bool later = (c >= u'0' && c <= u'9') || c == u'.' || c == u'-';
        if (!start && !(i > 0 && later))
            return false;
    }
    return !name.isEmpty();
}

bool xmlCharacters(const QByteArray &bytes)
{
    const bool control = std::any_of(bytes.begin(), bytes.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 && u != '\t' && u != '\n' && u != '\r';
    });
    return !control && bytes.isValidUtf8();
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
    bool root = false, named = true;
    int remarkDepth = 0; // inside a remark: 1, and one more a child element down
    QString remark;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::Characters && remarkDepth > 0)
            remark += xml.text();
        if (token == QXmlStreamReader::EndElement && remarkDepth > 0)
            --remarkDepth;
        if (token != QXmlStreamReader::StartElement)
            continue;
        named = named && serverName(xml.qualifiedName());
        for (const QXmlStreamAttribute &attribute : xml.attributes())
            named = named && serverName(attribute.qualifiedName());
        if (remarkDepth > 0) {
            ++remarkDepth;
            continue;
        }
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
            remark.clear();
            remarkDepth = 1;
        }
    }
    if (xml.hasError() || !root || !named || !xmlCharacters(bytes)) {
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
