// The Imagery menu: the services of the user's list, picked, added and edited.
#include "app/mainwindow.h"

#include "services/imagery_service.h"
#include "session/session.h"
#include "widgets/desktop.h"
#include "widgets/image_panel.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

void MainWindow::buildServices()
{
    m_imageryMenu = new QMenu(QStringLiteral("&Imagery"), this);
    m_imageryMenu->setObjectName(QStringLiteral("mnuimagery"));
    QAction *divider = findChild<QAction *>(QStringLiteral("mnu01"));
    menuBar()->insertMenu(divider, m_imageryMenu);
    // The service picked last time is the picture's source again, as if just picked.
    const auto stored = userServiceSettings();
    const QList<ImageryService> services = readServices(*stored);
    const QString picked = readPickedService(*stored);
    for (const ImageryService &s : services) {
        if (s.name == picked && m_session->imageSource().path.isEmpty()) {
            m_session->setImageSource({{}, false, serviceToJson(s)});
            m_session->setModified(false);
        }
    }
    // Built once here from the list just read; later every change of source builds it again.
    rebuildImageryMenu(services);
    connect(m_session, &Session::imageSourceChanged, this,
            [this] { rebuildImageryMenu(readServices(*userServiceSettings())); });
}

void MainWindow::rebuildImageryMenu(const QList<ImageryService> &services)
{
    m_imageryMenu->clear();
    auto *group = new QActionGroup(m_imageryMenu);
    const QString address =
        m_session->imageSource().service.value(QStringLiteral("url")).toString();
    QAction *none = m_imageryMenu->addAction(QStringLiteral("&None (images from files)"), this,
                                             [this] { pickService(nullptr); });
    none->setObjectName(QStringLiteral("mnuimagerynone"));
    none->setCheckable(true);
    none->setChecked(address.isEmpty());
    group->addAction(none);
    for (const ImageryService &s : services) {
        // A name with an ampersand keeps it as a character, not a shortcut.
        QAction *item =
            m_imageryMenu->addAction(QString(s.name).replace(u'&', QStringLiteral("&&")), this,
                                     [this, s] { pickService(&s); });
        item->setCheckable(true);
        item->setChecked(s.urlTemplate == address);
        item->setToolTip(s.urlTemplate);
        group->addAction(item);
    }
    m_imageryMenu->addSeparator();
    m_imageryMenu
        ->addAction(QStringLiteral("&Add Service..."), this, &MainWindow::mnuaddservice_Click)
        ->setObjectName(QStringLiteral("mnuaddservice"));
    m_imageryMenu
        ->addAction(QStringLiteral("&Edit Services..."), this, &MainWindow::mnueditservices_Click)
        ->setObjectName(QStringLiteral("mnueditservices"));
}

void MainWindow::pickService(const ImageryService *service)
{
    writePickedService(*userServiceSettings(), service ? service->name : QString());
    const ImageSource source =
        service ? ImageSource{{}, false, serviceToJson(*service)} : ImageSource{};
    if (source == m_session->imageSource())
        rebuildImageryMenu(readServices(*userServiceSettings()));
    else
        m_session->setImageSource(source);
}

void MainWindow::mnuaddservice_Click()
{
    std::optional<ImageryService> added = m_desktop.addService(this);
    if (!added)
        return;
    const auto stored = userServiceSettings();
    QList<ImageryService> services = readServices(*stored);
    added->name = freeServiceName(added->name, services);
    services.append(*added);
    writeServices(*stored, services);
    pickService(&*added);
}

void MainWindow::mnueditservices_Click()
{
    const auto stored = userServiceSettings();
    const std::optional<QList<ImageryService>> edited =
        m_desktop.editServices(this, readServices(*stored));
    if (!edited)
        return;
    writeServices(*stored, *edited);
    // The picked service follows its change; a removed one leaves files as the source.
    const QString address =
        m_session->imageSource().service.value(QStringLiteral("url")).toString();
    const QString picked = readPickedService(*stored);
    const auto same = std::find_if(edited->begin(), edited->end(),
                                   [&](const ImageryService &s) { return s.name == picked; });
    if (!address.isEmpty())
        pickService(same != edited->end() ? &*same : nullptr);
    else
        rebuildImageryMenu(*edited);
}
