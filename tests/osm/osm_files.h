#pragma once

// Small OpenStreetMap extracts for the tests, written as the XML that editors export.

#include <QFile>
#include <QString>

#include <utility>
#include <vector>

struct OsmNode
{
    long long id;
    double latitude, longitude;
};

struct OsmWay
{
    long long id;
    std::vector<long long> nodes;
    std::vector<std::pair<const char *, const char *>> tags;
};

struct OsmRelation
{
    long long id;
    std::vector<std::pair<long long, const char *>> ways; // way and role
    std::vector<std::pair<const char *, const char *>> tags;
};

inline bool writeOsmFile(const QString &path, const std::vector<OsmNode> &nodes,
                         const std::vector<OsmWay> &ways,
                         const std::vector<OsmRelation> &relations = {})
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osm version=\"0.6\">\n";
    auto tags = [&xml](const std::vector<std::pair<const char *, const char *>> &list) {
        for (const auto &[k, v] : list)
            xml +=
                QStringLiteral("  <tag k=\"%1\" v=\"%2\"/>\n")
                    .arg(QString::fromUtf8(k).toHtmlEscaped(), QString::fromUtf8(v).toHtmlEscaped())
                    .toUtf8();
    };
    for (const OsmNode &n : nodes)
        xml += QStringLiteral(" <node id=\"%1\" lat=\"%2\" lon=\"%3\"/>\n")
                   .arg(n.id)
                   .arg(n.latitude, 0, 'f', 7)
                   .arg(n.longitude, 0, 'f', 7)
                   .toUtf8();
    for (const OsmWay &w : ways) {
        xml += QStringLiteral(" <way id=\"%1\">\n").arg(w.id).toUtf8();
        for (long long n : w.nodes)
            xml += QStringLiteral("  <nd ref=\"%1\"/>\n").arg(n).toUtf8();
        tags(w.tags);
        xml += " </way>\n";
    }
    for (const OsmRelation &r : relations) {
        xml += QStringLiteral(" <relation id=\"%1\">\n").arg(r.id).toUtf8();
        for (const auto &[way, role] : r.ways)
            xml += QStringLiteral("  <member type=\"way\" ref=\"%1\" role=\"%2\"/>\n")
                       .arg(way)
                       .arg(QString::fromUtf8(role))
                       .toUtf8();
        tags(r.tags);
        xml += " </relation>\n";
    }
    xml += "</osm>\n";
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(xml) == xml.size();
}
