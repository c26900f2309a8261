#include "services/imagery_service.h"
#include "services/service_catalogue.h"
#include "text/user_settings.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ImageryServiceTest, TheKindComesFromThePlaceholdersAndOnlyWebAddressesPass)
{
    struct Case
    {
        const char *url;
        std::optional<ServiceKind> kind;
        const char *failurePart; // for a refused template
    };
    const Case cases[] = {
        {"https://tile.example.org/{z}/{x}/{y}.png", ServiceKind::Xyz, nullptr},
        {"http://example.org/tms/{z}/{x}/{-y}.jpg", ServiceKind::Tms, nullptr},
        {"https://t.example.net/tiles/a{q}.jpeg?g=1", ServiceKind::Quadkey, nullptr},
        {"https://example.org/wms?SERVICE=WMS&REQUEST=GetMap&BBOX={west},{south},{east},{north}"
         "&WIDTH={width}&HEIGHT={height}",
         ServiceKind::Wms, nullptr},
        {"  ", std::nullopt, "Type the address"},
        {"file:///home/me/{z}/{x}/{y}.png", std::nullopt, "starts with \"file:\""},
        {"ftp://example.org/{z}/{x}/{y}", std::nullopt, "\"ftp:\""},
        {"tile.example.org/{z}/{x}/{y}.png", std::nullopt, "http://"},
        {"https:///{z}/{x}/{y}", std::nullopt, "no host"},
        {"https://{q}.tiles.example.org/a.jpg", std::nullopt, "not in its host"},
        {"https://example.org/{z}/{x}/{y}/{s}", std::nullopt, "{s}"},
        {"https://example.org/{z}/{x}", std::nullopt, "needs {z}"},
        {"https://example.org/{z}/{x}/{y}/{-y}", std::nullopt, "needs {z}"},
        {"https://example.org/{q}/{z}/{x}/{y}", std::nullopt, "needs {z}"},
        {"https://example.org/?bbox={west},{south},{east}", std::nullopt, "needs {z}"},
        {"https://example.org/{z}/{x}/{y}}", std::nullopt, "brace"},
    };
    for (const Case &c : cases) {
        const TemplateCheck check = checkTemplate(QString::fromUtf8(c.url));
        EXPECT_EQ(check.kind, c.kind) << c.url;
        if (c.failurePart) {
            EXPECT_TRUE(check.failure.contains(QString::fromUtf8(c.failurePart)))
                << c.url << ": " << check.failure.toStdString();
            EXPECT_TRUE(check.failure.endsWith(u'.')) << check.failure.toStdString();
        }
    }
}

TEST(ImageryServiceTest, AddingNamesTheServiceAfterItsHostAndChecksItsOtherFields)
{
    const auto made = makeService(QStringLiteral(" "), QStringLiteral("https://a.tiles.example.org/"
                                                                      "{z}/{x}/{y}.png"));
    ASSERT_TRUE(made.service) << made.failure.toStdString();
    EXPECT_EQ(made.service->name, QStringLiteral("a.tiles.example.org"));
    EXPECT_EQ(makeService(QStringLiteral("Mine\n"), made.service->urlTemplate).service->name,
              QStringLiteral("Mine"));
    EXPECT_FALSE(makeService({}, made.service->urlTemplate, 24).service);
    EXPECT_FALSE(
        makeService({}, made.service->urlTemplate, 19, {}, QStringLiteral("file:///etc")).service);
    for (const ImageryService &preset : presetServices())
        EXPECT_EQ(makeService(preset.name, preset.urlTemplate, preset.maxZoom, preset.attribution,
                              preset.licence)
                      .service,
                  preset)
            << preset.name.toStdString();
}

TEST(ImageryServiceTest, TheListAndThePickKeepInTheSettingsAndTheWorkFile)
{
    QTemporaryDir folder;
    QSettings::setPath(userSettingsFormat(), QSettings::UserScope, folder.path());
    QList<ImageryService> services;
    {
        ServiceCatalogue first;
        EXPECT_EQ(first.services(), presetServices());
        EXPECT_EQ(first.picked(), nullptr);
        int changes = 0;
        QObject::connect(&first, &ServiceCatalogue::changed, [&] { ++changes; });
        const ImageryService own =
            *makeService(presetServices().first().name,
                         QStringLiteral("https://w.example.org/?b={west},{south},{east},{north}"),
                         12, QStringLiteral("© Someone"),
                         QStringLiteral("https://w.example.org/terms"))
                 .service;
        const ImageryService added = first.add(own);
        EXPECT_EQ(added.name, own.name + QStringLiteral(" (2)")) << "told apart in the menu";
        first.pick(&added);
        EXPECT_EQ(changes, 2);
        services = first.services();
    }
    // The next run reads what this one wrote.
    ServiceCatalogue next;
    EXPECT_EQ(next.services(), services);
    ASSERT_NE(next.picked(), nullptr);
    EXPECT_EQ(next.picked()->urlTemplate, services.last().urlTemplate);
    EXPECT_EQ(next.byAddress(services.last().urlTemplate), next.picked());
    next.replace({services.first()});
    EXPECT_EQ(next.picked(), nullptr) << "the picked service was removed";
    next.replace({});
    EXPECT_TRUE(ServiceCatalogue().services().isEmpty()) << "the user removed even the presets";

    for (const ImageryService &service : services)
        EXPECT_EQ(serviceFromJson(serviceToJson(service)).service, service);
    QJsonObject local = serviceToJson(services.first());
    local[QStringLiteral("url")] = QStringLiteral("file:///tmp/{z}/{x}/{y}.png");
    EXPECT_FALSE(serviceFromJson(local).service);
    local = serviceToJson(services.first());
    local[QStringLiteral("maxZoom")] = 2.5;
    EXPECT_FALSE(serviceFromJson(local).service);
}

} // namespace
