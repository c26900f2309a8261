#include "widgets/imagery_menu.h"

#include "services/service_catalogue.h"
#include "session/session.h"
#include "widgets/desktop.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

ImageryMenu::ImageryMenu(Desktop &desktop, ServiceCatalogue &catalogue, Session &session,
                         QMenuBar *bar, QAction *before, QWidget *window)
    : QObject(window), m_desktop(desktop), m_catalogue(catalogue), m_session(session),
      m_window(window), m_menu(new QMenu(QStringLiteral("&Imagery"), window)),
      m_group(new QActionGroup(m_menu))
{
    m_menu->setObjectName(QStringLiteral("mnuimagery"));
    bar->insertMenu(before, m_menu);
    m_none = m_menu->addAction(QStringLiteral("&None (images from files)"), this,
                               [this] { pick(nullptr); });
    m_none->setObjectName(QStringLiteral("mnuimagerynone"));
    m_none->setCheckable(true);
    m_group->addAction(m_none);
    m_servicesEnd = m_menu->addSeparator();
    m_menu->addAction(QStringLiteral("&Add Service..."), this, &ImageryMenu::mnuaddservice_Click)
        ->setObjectName(QStringLiteral("mnuaddservice"));
    m_menu
        ->addAction(QStringLiteral("&Edit Services..."), this, &ImageryMenu::mnueditservices_Click)
        ->setObjectName(QStringLiteral("mnueditservices"));

    // The service picked last time is the picture's source again, as if just picked.
    if (const ImageryService *picked = m_catalogue.picked();
        picked && m_session.imageSource().path.isEmpty()) {
        m_session.setImageSource({{}, false, serviceToJson(*picked)});
        m_session.setModified(false);
    }
    rebuild();
    connect(&m_catalogue, &ServiceCatalogue::changed, this, &ImageryMenu::rebuild);
    connect(&m_session, &Session::imageSourceChanged, this, &ImageryMenu::showPicked);
}

void ImageryMenu::rebuild()
{
    // Called from the menu's own items too: the old ones go once their slot has returned.
    for (QAction *old : m_serviceActions) {
        m_group->removeAction(old);
        m_menu->removeAction(old);
        old->deleteLater();
    }
    m_serviceActions.clear();
    for (const ImageryService &s : m_catalogue.services()) {
        // A name with an ampersand keeps it as a character, not a shortcut.
        auto *item = new QAction(QString(s.name).replace(u'&', QStringLiteral("&&")), m_menu);
        connect(item, &QAction::triggered, this, [this, s] { pick(&s); });
        item->setCheckable(true);
        item->setToolTip(s.urlTemplate);
        item->setData(s.urlTemplate);
        m_menu->insertAction(m_servicesEnd, item);
        m_group->addAction(item);
        m_serviceActions.append(item);
    }
    showPicked();
}

void ImageryMenu::showPicked()
{
    const ServiceCheck source = serviceFromJson(m_session.imageSource().service);
    const QString address = source.service ? source.service->urlTemplate : QString();
    m_none->setChecked(address.isEmpty());
    for (QAction *item : m_serviceActions)
        item->setChecked(!address.isEmpty() && item->data().toString() == address);
}

void ImageryMenu::pick(const ImageryService *service)
{
    m_catalogue.pick(service);
    m_session.setImageSource(service ? ImageSource{{}, false, serviceToJson(*service)}
                                     : ImageSource{});
    showPicked();
}

void ImageryMenu::mnuaddservice_Click()
{
    if (const std::optional<ImageryService> added = m_desktop.addService(m_window)) {
        const ImageryService named = m_catalogue.add(*added);
        pick(&named);
    }
}

void ImageryMenu::mnueditservices_Click()
{
    const std::optional<QList<ImageryService>> edited =
        m_desktop.editServices(m_window, m_catalogue.services());
    if (!edited)
        return;
    const QString pickedName = m_catalogue.picked() ? m_catalogue.picked()->name : QString();
    m_catalogue.replace(*edited);
    // The picked service follows its change; a removed one leaves files as the source.
    if (!m_session.imageSource().service.isEmpty()) {
        const auto same = std::find_if(edited->begin(), edited->end(),
                                       [&](const auto &s) { return s.name == pickedName; });
        pick(same != edited->end() ? &*same : nullptr);
    }
}
