// The Imagery menu: the services of the user's catalogue, picked, added and edited.
#include "app/mainwindow.h"

#include "services/service_catalogue.h"
#include "session/session.h"
#include "widgets/desktop.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

void MainWindow::buildServices()
{
    m_imageryMenu = new QMenu(QStringLiteral("&Imagery"), this);
    m_imageryMenu->setObjectName(QStringLiteral("mnuimagery"));
    QAction *divider = findChild<QAction *>(QStringLiteral("mnu01"));
    menuBar()->insertMenu(divider, m_imageryMenu);
    m_serviceGroup = new QActionGroup(m_imageryMenu);
    QAction *none = m_imageryMenu->addAction(QStringLiteral("&None (images from files)"), this,
                                             [this] { pickService(nullptr); });
    none->setObjectName(QStringLiteral("mnuimagerynone"));
    none->setCheckable(true);
    m_serviceGroup->addAction(none);
    m_servicesEnd = m_imageryMenu->addSeparator();
    m_imageryMenu
        ->addAction(QStringLiteral("&Add Service..."), this, &MainWindow::mnuaddservice_Click)
        ->setObjectName(QStringLiteral("mnuaddservice"));
    m_imageryMenu
        ->addAction(QStringLiteral("&Edit Services..."), this, &MainWindow::mnueditservices_Click)
        ->setObjectName(QStringLiteral("mnueditservices"));

    // The service picked last time is the picture's source again, as if just picked.
    if (const ImageryService *picked = m_catalogue->picked();
        picked && m_session->imageSource().path.isEmpty()) {
        m_session->setImageSource({{}, false, serviceToJson(*picked)});
        m_session->setModified(false);
    }
    rebuildImageryMenu();
    connect(m_catalogue, &ServiceCatalogue::changed, this, &MainWindow::rebuildImageryMenu);
    connect(m_session, &Session::imageSourceChanged, this, &MainWindow::showPickedService);
}

void MainWindow::rebuildImageryMenu()
{
    // Called from the menu's own items too: the old ones go once their slot has returned.
    for (QAction *old : m_serviceActions) {
        m_serviceGroup->removeAction(old);
        m_imageryMenu->removeAction(old);
        old->deleteLater();
    }
    m_serviceActions.clear();
    for (const ImageryService &s : m_catalogue->services()) {
        // A name with an ampersand keeps it as a character, not a shortcut.
        auto *item = new QAction(QString(s.name).replace(u'&', QStringLiteral("&&")), this);
        connect(item, &QAction::triggered, this, [this, s] { pickService(&s); });
        item->setCheckable(true);
        item->setToolTip(s.urlTemplate);
        item->setData(s.urlTemplate);
        m_imageryMenu->insertAction(m_servicesEnd, item);
        m_serviceGroup->addAction(item);
        m_serviceActions.append(item);
    }
    showPickedService();
}

void MainWindow::showPickedService()
{
    const ServiceCheck source = serviceFromJson(m_session->imageSource().service);
    const QString address = source.service ? source.service->urlTemplate : QString();
    findChild<QAction *>(QStringLiteral("mnuimagerynone"))->setChecked(address.isEmpty());
    for (QAction *item : m_serviceActions)
        item->setChecked(!address.isEmpty() && item->data().toString() == address);
}

void MainWindow::pickService(const ImageryService *service)
{
    m_catalogue->pick(service);
    m_session->setImageSource(service ? ImageSource{{}, false, serviceToJson(*service)}
                                      : ImageSource{});
    showPickedService();
}

void MainWindow::mnuaddservice_Click()
{
    if (const std::optional<ImageryService> added = m_desktop.addService(this)) {
        const ImageryService named = m_catalogue->add(*added);
        pickService(&named);
    }
}

void MainWindow::mnueditservices_Click()
{
    const std::optional<QList<ImageryService>> edited =
        m_desktop.editServices(this, m_catalogue->services());
    if (!edited)
        return;
    const QString pickedName = m_catalogue->picked() ? m_catalogue->picked()->name : QString();
    m_catalogue->replace(*edited);
    // The picked service follows its change; a removed one leaves files as the source.
    if (!m_session->imageSource().service.isEmpty()) {
        const auto same = std::find_if(edited->begin(), edited->end(),
                                       [&](const auto &s) { return s.name == pickedName; });
        pickService(same != edited->end() ? &*same : nullptr);
    }
}
