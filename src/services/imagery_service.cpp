#include "services/imagery_service.h"

#include <QJsonValue>
#include <QRegularExpression>
#include <QUrl>

namespace {

const QString tilePlaceholders[] = {QStringLiteral("z"), QStringLiteral("x"), QStringLiteral("y"),
                                    QStringLiteral("-y"), QStringLiteral("q")};
const QString boxPlaceholders[] = {QStringLiteral("west"), QStringLiteral("south"),
                                   QStringLiteral("east"), QStringLiteral("north")};
// A GetMap may name its picture's size; it is always the area's 256 x 256.
const QString sizePlaceholders[] = {QStringLiteral("width"), QStringLiteral("height")};

bool isKnown(const QString &name)
{
    return std::find(std::begin(tilePlaceholders), std::end(tilePlaceholders), name)
               != std::end(tilePlaceholders)
           || std::find(std::begin(boxPlaceholders), std::end(boxPlaceholders), name)
                  != std::end(boxPlaceholders)
           || std::find(std::begin(sizePlaceholders), std::end(sizePlaceholders), name)
                  != std::end(sizePlaceholders);
}

TemplateCheck refused(const QString &why)
{
    return {std::nullopt, why};
}

std::optional<ServiceKind> kindOf(const QSet<QString> &used)
{
    const bool tile = used.contains(QStringLiteral("z")) || used.contains(QStringLiteral("x"))
                      || used.contains(QStringLiteral("y")) || used.contains(QStringLiteral("-y"));
    int box = 0;
    for (const QString &edge : boxPlaceholders)
        box += used.contains(edge);
    const bool key = used.contains(QStringLiteral("q"));
    if (key && !tile && box == 0)
        return ServiceKind::Quadkey;
    if (box == 4 && !tile && !key)
        return ServiceKind::Wms;
    if (key || box > 0 || !used.contains(QStringLiteral("z"))
        || !used.contains(QStringLiteral("x")))
        return std::nullopt;
    const bool down = used.contains(QStringLiteral("y")), up = used.contains(QStringLiteral("-y"));
    if (down == up)
        return std::nullopt;
    return down ? ServiceKind::Xyz : ServiceKind::Tms;
}

// A link the user may click or the program may ask: http or https, with a host.
QString webAddressProblem(const QString &text, const QString &what)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || scheme.isEmpty())
        return QStringLiteral("The %1 must be a web address starting with http:// or https://.")
            .arg(what);
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return QStringLiteral("Only http and https can be used for the %1; this one starts with "
                              "\"%2:\".")
            .arg(what, url.scheme());
    if (url.host().isEmpty())
        return QStringLiteral("The %1 names no host.").arg(what);
    return {};
}

// One line of plain text: no control characters, no surrounding blanks.
QString oneLine(const QString &text)
{
    QString line;
    for (QChar c : text)
        line += c.category() == QChar::Other_Control ? QChar(u' ') : c;
    return line.simplified();
}

} // namespace

TemplateCheck checkTemplate(const QString &urlTemplate)
{
    const QString text = urlTemplate.trimmed();
    if (text.isEmpty())
        return refused(QStringLiteral("Type the address of the service."));
    static const QRegularExpression placeholder(QStringLiteral("\\{([^{}]*)\\}"));
    QSet<QString> used;
    // Filled with a digit, and with nothing as a quadkey at zoom 0 is: a host must stay either way.
    QString filled = text, bare = text;
    for (const QRegularExpressionMatch &m : placeholder.globalMatch(text)) {
        const QString name = m.captured(1);
        if (!isKnown(name))
            return refused(QStringLiteral("The address holds {%1}, which this program does not "
                                          "fill; it fills {z} {x} {y} {-y} {q} and {west} {south} "
                                          "{east} {north}.")
                               .arg(oneLine(name.left(40))));
        used.insert(name);
        filled.replace(m.captured(0), QStringLiteral("0"));
        bare.replace(m.captured(0), QString());
    }
    if (filled.contains(u'{') || filled.contains(u'}'))
        return refused(QStringLiteral("The address holds a brace outside a placeholder."));
    // The host stays as typed: a placeholder there could make any host, or none.
    const qsizetype authority = text.indexOf(QStringLiteral("://"));
    if (authority >= 0) {
        static const QRegularExpression endOfHost(QStringLiteral("[/?#]"));
        const qsizetype hostEnd = text.indexOf(endOfHost, authority + 3);
        const qsizetype brace = text.indexOf(u'{');
        if (brace >= 0 && (hostEnd < 0 || brace < hostEnd))
            return refused(QStringLiteral("Placeholders belong in the path of the address, not "
                                          "in its host."));
    }
    const std::optional<ServiceKind> kind = kindOf(used);
    if (!kind)
        return refused(QStringLiteral("The address needs {z} {x} and {y} (or {-y} for rows from "
                                      "the south), {q} for a quadkey, or all of {west} {south} "
                                      "{east} {north} for a WMS GetMap."));
    QString problem = webAddressProblem(filled, QStringLiteral("address"));
    if (problem.isEmpty())
        problem = webAddressProblem(bare, QStringLiteral("address"));
    if (!problem.isEmpty())
        return refused(problem);
    return {kind, {}};
}

ServiceCheck makeService(const QString &name, const QString &urlTemplate, int maxZoom,
                         const QString &attribution, const QString &licence)
{
    const TemplateCheck check = checkTemplate(urlTemplate);
    if (!check.kind)
        return {std::nullopt, check.failure};
    if (maxZoom < 0 || maxZoom > deepestZoom)
        return {std::nullopt, QStringLiteral("The maximum zoom must be 0 to %1.").arg(deepestZoom)};
    const QString link = licence.trimmed();
    if (!link.isEmpty()) {
        const QString problem = webAddressProblem(link, QStringLiteral("licence link"));
        if (!problem.isEmpty())
            return {std::nullopt, problem};
    }
    ImageryService service;
    service.urlTemplate = urlTemplate.trimmed();
    service.kind = *check.kind;
    service.name = oneLine(name);
    if (service.name.isEmpty()) {
        const QString host = QUrl(service.urlTemplate).host();
        service.name = host.isEmpty() ? QStringLiteral("Service") : host;
    }
    service.maxZoom = maxZoom;
    service.attribution = oneLine(attribution);
    service.licence = link;
    return {service, {}};
}

QList<ImageryService> presetServices()
{
    // OpenStreetMap's tile policy: an honest User-Agent, a week's cache, no prefetch, and the
    // attribution shown; the tiles are a map to find the place, not a photograph.
    ImageryService osm;
    osm.name = QStringLiteral("OpenStreetMap");
    osm.urlTemplate = QStringLiteral("https://tile.openstreetmap.org/{z}/{x}/{y}.png");
    osm.kind = ServiceKind::Xyz;
    osm.maxZoom = 19;
    osm.attribution = QStringLiteral("© OpenStreetMap contributors");
    osm.licence = QStringLiteral("https://www.openstreetmap.org/copyright");
    // Public domain, and only over the United States. Its tiles are named row before column.
    ImageryService usgs;
    usgs.name = QStringLiteral("USGS National Map imagery");
    usgs.urlTemplate = QStringLiteral("https://basemap.nationalmap.gov/arcgis/rest/services/"
                                      "USGSImageryOnly/MapServer/tile/{z}/{y}/{x}");
    usgs.kind = ServiceKind::Xyz;
    usgs.maxZoom = 16;
    usgs.attribution = QStringLiteral("USGS The National Map: orthoimagery (public domain)");
    usgs.licence = QStringLiteral("https://www.usgs.gov/information-policies-and-instructions/"
                                  "copyrights-and-credits");
    return {osm, usgs};
}

QJsonObject serviceToJson(const ImageryService &service)
{
    return {{QStringLiteral("name"), service.name},
            {QStringLiteral("url"), service.urlTemplate},
            {QStringLiteral("maxZoom"), service.maxZoom},
            {QStringLiteral("attribution"), service.attribution},
            {QStringLiteral("licence"), service.licence}};
}

ServiceCheck serviceFromJson(const QJsonObject &object)
{
    const QJsonValue zoom = object.value(QStringLiteral("maxZoom"));
    const QJsonValue name = object.value(QStringLiteral("name"));
    const QJsonValue url = object.value(QStringLiteral("url"));
    if (!name.isString() || !url.isString() || !zoom.isDouble() || zoom.toDouble() != zoom.toInt())
        return {std::nullopt,
                QStringLiteral("The imagery service needs a name, an address and a whole "
                               "maximum zoom.")};
    return makeService(name.toString(), url.toString(), zoom.toInt(),
                       object.value(QStringLiteral("attribution")).toString(),
                       object.value(QStringLiteral("licence")).toString());
}

const ImageryService *serviceByAddress(const QList<ImageryService> &services,
                                       const QString &urlTemplate)
{
    for (const ImageryService &s : services)
        if (s.urlTemplate == urlTemplate)
            return &s;
    return nullptr;
}

QString freeServiceName(const QString &name, const QList<ImageryService> &services)
{
    const auto taken = [&](const QString &n) {
        return std::any_of(services.begin(), services.end(),
                           [&](const ImageryService &s) { return s.name == n; });
    };
    QString candidate = name;
    for (int n = 2; taken(candidate); ++n)
        candidate = QStringLiteral("%1 (%2)").arg(name).arg(n);
    return candidate;
}
