#pragma once

#include <QList>
#include <QObject>

class Desktop;
class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;
class QWidget;
class ServiceCatalogue;
class Session;
struct ImageryService;

// The Imagery menu: None, the services of the user's catalogue with the work's one checked,
// and Add Service... and Edit Services.... A service picked is the work's image source and
// the one the next start begins with.
class ImageryMenu final : public QObject
{
    Q_OBJECT

public:
    // Goes into `bar` before `before`; dialogs open over `window`.
    ImageryMenu(Desktop &desktop, ServiceCatalogue &catalogue, Session &session, QMenuBar *bar,
                QAction *before, QWidget *window);

    void mnuaddservice_Click();
    void mnueditservices_Click();

private:
    void rebuild();
    void showPicked();
    void pick(const ImageryService *service);

    Desktop &m_desktop;
    ServiceCatalogue &m_catalogue;
    Session &m_session;
    QWidget *m_window;
    QMenu *m_menu;
    QActionGroup *m_group;
    QAction *m_none;
    QAction *m_servicesEnd; // the services' items go before it
    QList<QAction *> m_serviceActions;
};
