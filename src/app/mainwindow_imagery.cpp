// The picture on the panel: the window hands the session's image source and place to the
// picture feed, and shows what it delivers.
#include "app/mainwindow.h"

#include "canvas/picture_loader.h"
#include "grid/geo_bounds.h"
#include "services/picture_feed.h"
#include "services/service_catalogue.h"
#include "session/dialog_folders.h"
#include "session/session.h"
#include "text/failure.h"
#include "widgets/area_preview.h"
#include "widgets/desktop.h"
#include "widgets/image_panel.h"
#include "widgets/imagery_menu.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QStandardPaths>

void MainWindow::buildImagery()
{
    FetchSettings settings;
#ifdef Q_OS_WIN
    // %LOCALAPPDATA%\Marlith\tiles: the local, not the roaming, part of the profile.
    const auto base = QStandardPaths::GenericDataLocation;
#else
    const auto base = QStandardPaths::GenericCacheLocation;
#endif
    settings.cacheFolder =
        QStandardPaths::writableLocation(base) + QStringLiteral("/Marlith/tiles");
    m_catalogue = new ServiceCatalogue(this);
    m_feed = new PictureFeed(*m_catalogue, settings, this);
    connect(m_feed, &PictureFeed::picture, m_form.Picture1, &ImagePanel::setPicture);
    connect(m_feed, &PictureFeed::message, this, [this](const QString &text) {
        if (m_preview && m_preview->previewing())
            m_preview->sayAboutPicture(text);
        else
            showMessage(text);
    });
    connect(m_feed, &PictureFeed::busyChanged, this, [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::BusyCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    connect(m_session, &Session::imageSourceChanged, this, &MainWindow::showImageSource);
    new ImageryMenu(m_desktop, *m_catalogue, *m_session, menuBar(),
                    findChild<QAction *>(QStringLiteral("mnu01")), this);
}

void MainWindow::cmdload_Click()
{
    // Every failure ends this without a message box: the panel keeps the picture it had, and
    // the status line says why.
    const std::optional<QString> path =
        m_desktop.openFileName(this, {}, imageDialogFilter(), dialogFolder(FileDialog::Load));
    if (!path)
        return;
    rememberDialogFile(FileDialog::Load, *path);
    loadImage(*path);
}

void MainWindow::loadImage(const QString &path)
{
    // All checked before anything changes: a file that cannot be shown leaves the work alone.
    ImageSource picked;
    try {
        picked = m_feed->pick(path);
    } catch (const Failure &f) {
        return showMessage(f.text());
    }
    if (picked == m_session->imageSource())
        showImageSource(); // the same file again: it may have changed on disk
    else
        m_session->setImageSource(picked);
}

void MainWindow::showImageSource()
{
    m_feed->show(m_session->imageSource(), m_session->place());
}

void MainWindow::showPreviewPlace(const std::optional<GridPlace> &place)
{
    if (!place) {
        showGridBounds();
        return showImageSource();
    }
    setPlaceStatus(areaPlaceText(place));
    const ImageSource &source = m_session->imageSource();
    // A plain picture shows the work's area only; a georeferenced one or a service may cover
    // the written one.
    if (source.georeferenced || !source.service.isEmpty())
        m_feed->show(source, place);
    else
        m_form.Picture1->setPicture(QImage());
}
