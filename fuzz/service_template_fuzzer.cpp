// Any name and address typed into Add Service, any maximum zoom, any area: refused with one
// sentence, or a service that survives the work file and whose tile addresses are filled in
// whole, on the web, for a handful of tiles at a zoom the service has.
#include "fuzz_support.h"
#include "services/tile_plan.h"

#include <QUrl>

namespace {

bool oneSentence(const QString &text)
{
    return !text.isEmpty() && text.endsWith(u'.') && !text.contains(u'\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const int maxZoom = data.ConsumeIntegralInRange(-2, 26);
    GridPlace place;
    place.cellColumn = data.ConsumeIntegralInRange(0, 767);
    place.cellRow = data.ConsumeIntegralInRange(0, 511);
    place.areaColumn = data.ConsumeIntegralInRange(0, 31);
    place.areaRow = data.ConsumeIntegralInRange(0, 31);
    const QString name = QString::fromUtf8(data.ConsumeRandomLengthString(64));
    const QString address = QString::fromUtf8(data.ConsumeRemainingBytesAsString());

    const TemplateCheck check = checkTemplate(address);
    FUZZ_CHECK(check.kind.has_value() != oneSentence(check.failure));
    const ServiceCheck made = makeService(name, address, maxZoom);
    if (!made.service) {
        FUZZ_CHECK(oneSentence(made.failure));
        FUZZ_CHECK(!check.kind || maxZoom < 0 || maxZoom > deepestZoom);
        return 0;
    }
    const ImageryService &service = *made.service;
    FUZZ_CHECK(check.kind == service.kind);
    FUZZ_CHECK(!service.name.isEmpty() && !service.name.contains(u'\n'));
    FUZZ_CHECK(serviceFromJson(serviceToJson(service)).service == service);

    const AreaRequests plan = planRequests(service, place);
    if (plan.tiles.isEmpty()) {
        FUZZ_CHECK(oneSentence(plan.failure) && service.kind != ServiceKind::Wms);
        return 0;
    }
    FUZZ_CHECK(plan.zoom >= 0 && plan.zoom <= service.maxZoom);
    FUZZ_CHECK(plan.tiles.size() == plan.columns * plan.rows && plan.tiles.size() <= 64);
    for (const TileRequest &tile : plan.tiles) {
        const QString scheme = tile.url.scheme().toLower();
        FUZZ_CHECK(scheme == QLatin1String("http") || scheme == QLatin1String("https"));
        FUZZ_CHECK(!tile.url.host().isEmpty());
        FUZZ_CHECK(tile.column >= 0 && tile.column < plan.columns);
        FUZZ_CHECK(tile.row >= 0 && tile.row < plan.rows);
    }
    if (service.kind != ServiceKind::Wms) {
        const QString first = tileAddress(service, plan.zoom, 0, 0);
        FUZZ_CHECK(!first.contains(u'{') && !first.contains(u'}'));
    }
    return 0;
}
