#pragma once

#include "services/imagery_service.h"

#include <QList>
#include <QObject>

// The user's imagery services and the one picked, as kept in the settings: the only reader
// and writer of them there. The Imagery menu, its dialogs and the picture feed all ask it.
class ServiceCatalogue final : public QObject
{
    Q_OBJECT

public:
    // Reads the list (the presets, before the user ever changed it) and the pick.
    explicit ServiceCatalogue(QObject *parent = nullptr);

    const QList<ImageryService> &services() const { return m_services; }
    // The service picked last, or none.
    const ImageryService *picked() const;
    // The service of the list with this address, or none: a work file may name any address,
    // and only the user's own are ever asked.
    const ImageryService *byAddress(const QString &urlTemplate) const;

    // Each writes the settings, then says changed(). A null service picks none.
    void pick(const ImageryService *service);
    // Numbers the name when the list has it already; the service as it was added.
    ImageryService add(ImageryService service);
    // The list as the user edited it; a pick no longer in it is dropped.
    void replace(const QList<ImageryService> &services);

signals:
    void changed();

private:
    void write();

    QList<ImageryService> m_services;
    QString m_picked;
};
