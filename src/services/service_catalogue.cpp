#include "services/service_catalogue.h"

#include "text/user_settings.h"

#include <QSettings>

#include <algorithm>

namespace {
const QString listWrittenKey = QStringLiteral("imagery/listWritten");
const QString listKey = QStringLiteral("imagery/services");
const QString pickedKey = QStringLiteral("imagery/picked");
} // namespace

ServiceCatalogue::ServiceCatalogue(QObject *parent) : QObject(parent)
{
    const auto settings = userSettings();
    m_picked = settings->value(pickedKey).toString();
    if (!settings->value(listWrittenKey).toBool()) {
        m_services = presetServices();
        return;
    }
    const int count = settings->beginReadArray(listKey);
    for (int i = 0; i < count; ++i) {
        settings->setArrayIndex(i);
        // An entry that no longer validates (edited by hand, or by an older version) is left
        // out rather than asked.
        const ServiceCheck check =
            makeService(settings->value(QStringLiteral("name")).toString(),
                        settings->value(QStringLiteral("url")).toString(),
                        settings->value(QStringLiteral("maxZoom"), 19).toInt(),
                        settings->value(QStringLiteral("attribution")).toString(),
                        settings->value(QStringLiteral("licence")).toString());
        if (check.service)
            m_services.append(*check.service);
    }
    settings->endArray();
}

const ImageryService *ServiceCatalogue::picked() const
{
    const auto found = std::find_if(m_services.begin(), m_services.end(),
                                    [&](const ImageryService &s) { return s.name == m_picked; });
    return m_picked.isEmpty() || found == m_services.end() ? nullptr : &*found;
}

const ImageryService *ServiceCatalogue::byAddress(const QString &urlTemplate) const
{
    return serviceByAddress(m_services, urlTemplate);
}

void ServiceCatalogue::pick(const ImageryService *service)
{
    m_picked = service ? service->name : QString();
    write();
}

ImageryService ServiceCatalogue::add(ImageryService service)
{
    service.name = freeServiceName(service.name, m_services);
    m_services.append(service);
    write();
    return service;
}

void ServiceCatalogue::replace(const QList<ImageryService> &services)
{
    m_services = services;
    if (!picked())
        m_picked.clear();
    write();
}

void ServiceCatalogue::write()
{
    const auto settings = userSettings();
    settings->remove(listKey);
    settings->beginWriteArray(listKey, int(m_services.size()));
    for (int i = 0; i < m_services.size(); ++i) {
        settings->setArrayIndex(i);
        settings->setValue(QStringLiteral("name"), m_services[i].name);
        settings->setValue(QStringLiteral("url"), m_services[i].urlTemplate);
        settings->setValue(QStringLiteral("maxZoom"), m_services[i].maxZoom);
        settings->setValue(QStringLiteral("attribution"), m_services[i].attribution);
        settings->setValue(QStringLiteral("licence"), m_services[i].licence);
    }
    settings->endArray();
    settings->setValue(listWrittenKey, true);
    settings->setValue(pickedKey, m_picked);
    emit changed();
}
