#include "app/mainwindow.h"

#include "grid/geo_bounds.h"
#include "services/picture_feed.h"
#include "session/session.h"
#include "session/typing_hints.h"
#include "text/failure.h"
#include "text/runtime_error.h"
#include "widgets/area_job_dialog.h"
#include "widgets/area_preview.h"
#include "widgets/desktop.h"
#include "widgets/image_panel.h"
#include "widgets/osm_menu.h"
#include "widgets/point_list.h"
#include "widgets/program_title.h"
#include "widgets/session_overlay.h"

#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QPushButton>

MainWindow::MainWindow(Desktop &desktop, QWidget *parent)
    : QMainWindow(parent), m_desktop(desktop),
      m_session(new Session(desktop.startOutputFolder(), this))
{
    setObjectName(QStringLiteral("Form1"));
    // The icon is the application's: read once, and every window of it shows it.
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/marlith.png")));
    // The controls sit at fixed places, so the font is fixed too: a narrow sans face at a
    // pixel size, which scales with the display like the places do.
    QFont face = font();
    face.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Helvetica"), QStringLiteral("Segoe UI")});
    face.setPixelSize(11);
    setFont(face);
    m_session->setLocale(locale());
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(825, 384);
    setCentralWidget(client);
    m_form = buildMainForm(client);
    buildMenus();
    bindSession();
    m_overlay = new SessionOverlay(*m_session, m_form.Picture1);
    buildHistory();
    buildWorkFile();
    // Before the imagery: a service picked at start may already have something to say.
    buildStatusLine();
    buildImagery();
    m_osm = new OsmDataMenu(
        m_desktop, menuBar(), this, [this] { return m_session->place(); },
        [this] { return m_session->work().altitude; }, [this] { return m_session->outputFolder(); },
        [this](const QString &s) { showMessage(s); });
    m_preview = new AreaPreview(
        findChild<QMenu *>(QStringLiteral("mnuview")), m_overlay,
        [this](const std::optional<GridPlace> &place) { showPreviewPlace(place); },
        [this](const QString &s) { showMessage(s); }, this);
    connect(m_osm, &OsmDataMenu::dialogOpened, m_preview, &AreaPreview::watch);
    connectHandlers();
    showTitle();
    setFixedSize(sizeHint());
}

MainWindow::~MainWindow()
{
    // A cut still under way stops at its next step; its busy cursor goes with the window.
    if (m_feed->busy())
        QApplication::restoreOverrideCursor();
    // Hiding the children as the window goes still sends signals (the panel losing focus says
    // the cursor left); none may reach a window that is half destroyed.
    for (QObject *child : findChildren<QObject *>())
        disconnect(child, nullptr, this, nullptr);
    disconnect(m_session, nullptr, this, nullptr);
    // The lists show the session's own entries: they go before the session does.
    delete centralWidget();
}

bool MainWindow::runHandler(const std::function<void()> &steps)
{
    try {
        steps();
        return true;
    } catch (const RuntimeError &e) {
        // The box keeps its fixed text; the status line adds what failed and where.
        showMessage(e.text(RuntimeError::Shown::StatusLine));
        m_desktop.messageBox(this, e.text(RuntimeError::Shown::Box), programTitle());
    } catch (const Failure &f) {
        m_desktop.messageBox(this, f.text(), programTitle());
    }
    return false;
}

void MainWindow::cmdcalculate_Click()
{
    const bool calculated = runHandler([&] { m_session->calculate(); });
    showGridBounds();
    if (!calculated)
        return;
    m_feed->recut(m_session->imageSource(), *m_session->place());
    const QString hint = minutesHint(m_session->work().calculatedFrom, m_session->locale());
    if (!hint.isEmpty())
        showMessage(hint);
}

void MainWindow::connectHandlers()
{
    connect(m_form.cmdcalculate, &QPushButton::clicked, this, &MainWindow::cmdcalculate_Click);
    connect(m_form.cmdload, &QPushButton::clicked, this, &MainWindow::cmdload_Click);
    connect(m_form.cmdcreatelwm, &QPushButton::clicked, this, &MainWindow::cmdcreatelwm_Click);
    connect(m_form.cmdcreatevtp, &QPushButton::clicked, this, &MainWindow::cmdcreatevtp_Click);
    connect(m_form.cmdViewLWM, &QPushButton::clicked, this, &MainWindow::cmdViewLWM_Click);
    connect(m_form.cmdViewVTP, &QPushButton::clicked, this, &MainWindow::cmdViewVTP_Click);
    connect(m_form.cmdlwmclearlistitem, &QPushButton::clicked, this,
            &MainWindow::cmdlwmclearlistitem_Click);
    connect(m_form.cmdvtpclearitem, &QPushButton::clicked, this,
            &MainWindow::cmdvtpclearitem_Click);
    connect(m_form.cmdclearlwmlist, &QPushButton::clicked, this,
            &MainWindow::cmdclearlwmlist_Click);
    connect(m_form.cmdclearvtplist, &QPushButton::clicked, this,
            &MainWindow::cmdclearvtplist_Click);
    connect(m_form.lstLWM, &PointList::doubleClicked, this, &MainWindow::lstLWM_DblClick);
    connect(m_form.lstVTP, &PointList::doubleClicked, this, &MainWindow::lstVTP_DblClick);
    connect(m_form.Picture1, &ImagePanel::cursorMoved, this, &MainWindow::Picture1_MouseMove);
    connect(m_form.Picture1, &ImagePanel::pressed, this, &MainWindow::Picture1_MouseDown);
    connect(m_form.Picture1, &ImagePanel::cursorLeft, this,
            [this] { setPlaceStatus(areaPlaceText(m_session->place())); });
    // A focused list's own keys: Delete removes as the button does, Insert and Enter insert
    // as a double click does.
    connect(m_form.lstLWM, &PointList::removeRequested, this,
            &MainWindow::cmdlwmclearlistitem_Click);
    connect(m_form.lstVTP, &PointList::removeRequested, this, &MainWindow::cmdvtpclearitem_Click);
    connect(m_form.lstLWM, &PointList::insertRequested, this, &MainWindow::lstLWM_DblClick);
    connect(m_form.lstVTP, &PointList::insertRequested, this, &MainWindow::lstVTP_DblClick);
}
