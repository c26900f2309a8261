// Georeferenced pictures: the calculated area cut out of them, off the window's thread, and
// cut again after every Calculate and every restored state.
#include "app/mainwindow.h"

#include "canvas/picture_loader.h"
#include "grid/geo_bounds.h"
#include "imagery/area_cut.h"
#include "widgets/image_panel.h"

#include <QApplication>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLabel>
#include <QStatusBar>
#include <QtConcurrent>

QString MainWindow::imageFilter()
{
    return pictureFilter
           + QStringLiteral(";;Georeferenced images (*.tif *.tiff *.jpg *.jpeg *.png *.gif *.bmp "
                            "*.jp2 *.mbtiles *.gpkg *.vrt);;All files (*)");
}

void MainWindow::supersedeCuts()
{
    ++*m_cutGeneration;
}

void MainWindow::loadGeoreferenced(const QString &path, const ImageProbe &probe)
{
    if (probe.kind == ImageProbe::Refused) {
        statusBar()->showMessage(probe.reason);
        return;
    }
    supersedeCuts();
    m_imagePath = QFileInfo(path).absoluteFilePath();
    m_imageGeoreferenced = true;
    const std::optional<GridPlace> place = gridPlaceFromCaptions(
        lblcellx->text(), lblcelly->text(), lblareax->text(), lblareay->text());
    if (place)
        return startCut(m_imagePath, *place);
    // Before any Calculate there is no area to cut: the picture shows as any other would.
    if (const std::optional<QImage> picture = loadPicture(path))
        Picture1->setPicture(*picture);
    statusBar()->showMessage(QStringLiteral("%1 is georeferenced: Calculate will place it.")
                                 .arg(QFileInfo(path).fileName()));
}

void MainWindow::recutGeoreferenced()
{
    supersedeCuts();
    const std::optional<GridPlace> place = gridPlaceFromCaptions(
        lblcellx->text(), lblcelly->text(), lblareax->text(), lblareay->text());
    if (m_imageGeoreferenced && place)
        startCut(m_imagePath, *place);
}

void MainWindow::startCut(const QString &path, const GridPlace &place)
{
    const int generation = *m_cutGeneration;
    auto *watcher = new QFutureWatcher<AreaCut>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation, path] {
        --m_cutsRunning;
        QApplication::restoreOverrideCursor();
        watcher->deleteLater();
        // A later load, Calculate or restored state has asked for another picture.
        if (generation == *m_cutGeneration)
            showCut(path, watcher->result());
    });
    ++m_cutsRunning;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    statusBar()->showMessage(QStringLiteral("Cutting area %1, %2 of cell %3, %4 from %5 …")
                                 .arg(place.areaColumn)
                                 .arg(place.areaRow)
                                 .arg(place.cellColumn)
                                 .arg(place.cellRow)
                                 .arg(QFileInfo(path).fileName()));
    // The worker opens its own dataset; it gives up as soon as it is no longer wanted.
    watcher->setFuture(QtConcurrent::run([path, place, generation, latest = m_cutGeneration] {
        return cutArea(path, place, [&] { return *latest != generation; });
    }));
}

void MainWindow::showCut(const QString &path, const AreaCut &cut)
{
    if (!cut.ok()) {
        statusBar()->showMessage(cut.failure);
        return;
    }
    Picture1->setPicture(cut.image);
    statusBar()->showMessage(cutSummary(path, cut));
}

void MainWindow::stopCuts()
{
    supersedeCuts();
    for (; m_cutsRunning > 0; --m_cutsRunning)
        QApplication::restoreOverrideCursor();
}
