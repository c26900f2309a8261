// Imagery from tile and map services: the Imagery menu, the list in the user's settings, and
// the area fetched and cut off the window's thread after every Calculate.
#include "app/mainwindow.h"

#include "app/desktop.h"
#include "services/area_fetcher.h"
#include "session/session.h"
#include "widgets/image_panel.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>

namespace {

// In the user's configuration folder (XDG_CONFIG_HOME on Linux).
std::unique_ptr<QSettings> userSettings()
{
    return std::make_unique<QSettings>(QStringLiteral("Marlith"), QStringLiteral("Marlith3"));
}

const ImageryService *byAddress(const QList<ImageryService> &services, const QString &address)
{
    for (const ImageryService &s : services)
        if (s.urlTemplate == address)
            return &s;
    return nullptr;
}

// Another service of the same name gets a number, so that the menu tells them apart.
QString freeName(const QString &name, const QList<ImageryService> &services)
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

} // namespace

void MainWindow::buildServices()
{
    FetchSettings settings;
    settings.cacheFolder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
                           + QStringLiteral("/Marlith/tiles");
    m_fetcher = new AreaFetcher(settings, this);
    connect(m_fetcher, &AreaFetcher::progress, this, &MainWindow::showMessage);
    connect(m_fetcher, &AreaFetcher::finished, this, &MainWindow::showServiceCut);

    m_imageryMenu = new QMenu(QStringLiteral("&Imagery"), this);
    m_imageryMenu->setObjectName(QStringLiteral("mnuimagery"));
    QAction *divider = findChild<QAction *>(QStringLiteral("mnu01"));
    menuBar()->insertMenu(divider, m_imageryMenu);
    connect(m_session, &Session::imageSourceChanged, this, &MainWindow::rebuildImageryMenu);

    // The service picked last time is the picture's source again, as if just picked.
    const auto stored = userSettings();
    const QList<ImageryService> services = readServices(*stored);
    const QString picked = readPickedService(*stored);
    for (const ImageryService &s : services) {
        if (s.name == picked && m_session->imageSource().path.isEmpty()) {
            m_session->setImageSource({{}, false, serviceToJson(s)});
            m_session->setModified(false);
        }
    }
    rebuildImageryMenu();
}

void MainWindow::rebuildImageryMenu()
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
    const QList<ImageryService> services = readServices(*userSettings());
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
    writePickedService(*userSettings(), service ? service->name : QString());
    const ImageSource source =
        service ? ImageSource{{}, false, serviceToJson(*service)} : ImageSource{};
    if (source == m_session->imageSource())
        rebuildImageryMenu();
    else
        m_session->setImageSource(source);
}

void MainWindow::mnuaddservice_Click()
{
    std::optional<ImageryService> added = m_desktop.addService(this);
    if (!added)
        return;
    const auto stored = userSettings();
    QList<ImageryService> services = readServices(*stored);
    added->name = freeName(added->name, services);
    services.append(*added);
    writeServices(*stored, services);
    pickService(&*added);
}

void MainWindow::mnueditservices_Click()
{
    const auto stored = userSettings();
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
        rebuildImageryMenu();
}

void MainWindow::fetchService()
{
    // Said after what Open or Calculate says, as a fetched picture would be.
    const auto later = [this](const QString &text) {
        QMetaObject::invokeMethod(
            this, [this, text] { showMessage(text); }, Qt::QueuedConnection);
    };
    const ServiceCheck check = serviceFromJson(m_session->imageSource().service);
    if (!check.service)
        return later(QStringLiteral("The work's imagery service cannot be used: ") + check.failure);
    // A work file may name any address: only a service in the user's own list is asked.
    const QList<ImageryService> services = readServices(*userSettings());
    const ImageryService *known = byAddress(services, check.service->urlTemplate);
    if (!known)
        return later(QStringLiteral("This work used the imagery service %1, which is not "
                                    "in your Imagery menu: add it there to fetch the area.")
                         .arg(check.service->name));
    if (!m_session->place())
        return showMessage(
            QStringLiteral("%1 is picked: Calculate will fetch the area.").arg(known->name));
    m_fetcher->fetch(*known, *m_session->place());
}

void MainWindow::showServiceCut(const ServiceCut &result)
{
    if (result.ok())
        Picture1->setPicture(result.cut.image);
    showMessage(result.status);
}
