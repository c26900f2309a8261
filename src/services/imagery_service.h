#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

// How a service is asked for pictures, told by the placeholders of its URL.
enum class ServiceKind {
    Xyz,     // {z} {x} {y}: 256-pixel Web-Mercator tiles, rows from the north
    Tms,     // {z} {x} {-y}: the same tiles, rows counted from the south
    Quadkey, // {q}: the same tiles, named by one key
    Wms,     // {west} {south} {east} {north} in degrees: one GetMap picture of the area
};

// A source of imagery on the network, as the user keeps it in the settings.
struct ImageryService
{
    QString name;
    QString urlTemplate;
    ServiceKind kind = ServiceKind::Xyz;
    int maxZoom = 19;
    QString attribution;
    QString licence; // a link to the terms of use

    bool operator==(const ImageryService &) const = default;
};

// The most a tile service is asked for; deeper levels than this do not exist anywhere.
inline constexpr int deepestZoom = 23;

// The kind the placeholders tell, or one sentence why the template cannot be used: only http
// and https, a host, and one complete set of placeholders.
struct TemplateCheck
{
    std::optional<ServiceKind> kind;
    QString failure;
};
TemplateCheck checkTemplate(const QString &urlTemplate);

// A service as the user typed it: the kind from the template, the name from the host unless
// one was typed. Either a service or one sentence why not.
struct ServiceCheck
{
    std::optional<ImageryService> service;
    QString failure;
};
ServiceCheck makeService(const QString &name, const QString &urlTemplate, int maxZoom = 19,
                         const QString &attribution = {}, const QString &licence = {});

// Services whose terms allow a program to show their tiles for one area at a time.
QList<ImageryService> presetServices();

// The service of the list with this address, or none.
const ImageryService *serviceByAddress(const QList<ImageryService> &services,
                                       const QString &urlTemplate);
// The name, numbered when another service of the list has it, so that the menu tells them
// apart.
QString freeServiceName(const QString &name, const QList<ImageryService> &services);

// The service a work file used. Reading checks it as Add Service does.
QJsonObject serviceToJson(const ImageryService &service);
ServiceCheck serviceFromJson(const QJsonObject &object);
