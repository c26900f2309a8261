// The picture on the panel, from the session's image source: a plain picture as it is, a
// georeferenced one cut to the calculated area off the window's thread, cut again after
// every Calculate, and only the newest cut shown.
#include "app/mainwindow.h"

#include "app/desktop.h"
#include "canvas/picture_loader.h"
#include "grid/grid_constants.h"
#include "imagery/area_cutter.h"
#include "services/area_fetcher.h"
#include "session/dialog_folders.h"
#include "session/session.h"
#include "widgets/image_panel.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Presses map to the panel, not to the picture, so a picture of another size does not line
// up with the area.
QString imageSizeNote(QSize size)
{
    const QString shown = size.width() >= lod::pixelUnits && size.height() >= lod::pixelUnits
                              ? QStringLiteral("the panel shows its top-left 256 × 256")
                              : QStringLiteral("the panel shows it from its top-left corner");
    return QStringLiteral("The image is %1 × %2 pixels, not 256 × 256: %3. Presses count in "
                          "the panel's 256 × 256 pixels all the same.")
        .arg(size.width())
        .arg(size.height())
        .arg(shown);
}

} // namespace

void MainWindow::buildImagery()
{
    m_cutter = new AreaCutter(this);
    connect(m_cutter, &AreaCutter::cut, this, &MainWindow::showCut);
    connect(m_cutter, &AreaCutter::busyChanged, this, [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::BusyCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    connect(m_session, &Session::imageSourceChanged, this, &MainWindow::showImageSource);
    buildServices();
}

void MainWindow::cmdload_Click()
{
    // Every failure ends this without a message box: the panel keeps the picture it had, and
    // the status line says why.
    const std::optional<QString> path =
        m_desktop.openFileName(this, imageDialogFilter(), dialogFolder(FileDialog::Load));
    if (!path)
        return;
    rememberDialogFile(FileDialog::Load, *path);
    loadImage(*path);
}

void MainWindow::loadImage(const QString &path)
{
    // All checked before anything changes: a file that cannot be shown leaves the work alone.
    const ImageProbe probe = probeImage(path);
    if (probe.kind == ImageProbe::Refused)
        return showMessage(probe.reason);
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (probe.kind == ImageProbe::Plain) {
        const PictureRead picture = readPicture(path);
        if (picture.image.isNull())
            return showMessage(picture.failure.isEmpty() ? probe.reason : picture.failure);
        m_decodedPath = absolute;
        m_decoded = picture.image;
    }
    const ImageSource source{absolute, probe.kind == ImageProbe::Georeferenced, {}};
    if (source == m_session->imageSource())
        showImageSource(); // the same file again: it may have changed on disk
    else
        m_session->setImageSource(source);
}

void MainWindow::showImageSource()
{
    m_cutter->cancel();
    m_fetcher->cancel();
    const ImageSource &source = m_session->imageSource();
    if (!source.service.isEmpty()) {
        Picture1->setPicture(QImage());
        return fetchService();
    }
    const QString path = source.path;
    QImage decoded = std::exchange(m_decoded, QImage());
    const bool fresh = std::exchange(m_decodedPath, QString()) == path && !decoded.isNull();
    if (path.isEmpty()) {
        Picture1->setPicture(QImage());
        return;
    }
    if (!QFileInfo::exists(path)) {
        Picture1->setPicture(QImage());
        showMessage(QStringLiteral("The image %1 is gone.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (source.georeferenced) {
        if (m_session->place())
            return recutGeoreferenced();
        // Before any Calculate there is no area to cut: the picture shows as any other would,
        // where the picture reader can read it.
        const std::optional<QImage> whole = loadPicture(path);
        Picture1->setPicture(whole.value_or(QImage()));
        showMessage(QStringLiteral("%1 is georeferenced: Calculate will place it.")
                        .arg(QFileInfo(path).fileName()));
        return;
    }
    const PictureRead picture = fresh ? PictureRead{decoded, QString()} : readPicture(path);
    if (picture.image.isNull())
        return showMessage(picture.failure);
    Picture1->setPicture(picture.image);
    if (picture.image.size() != QSize(lod::pixelUnits, lod::pixelUnits))
        showMessage(imageSizeNote(picture.image.size()));
}

void MainWindow::recutGeoreferenced()
{
    const ImageSource &source = m_session->imageSource();
    if (!source.service.isEmpty())
        return fetchService();
    if (!source.georeferenced || !m_session->place())
        return;
    const GridPlace &place = *m_session->place();
    showMessage(QStringLiteral("Cutting area %1, %2 of cell %3, %4 from %5 …")
                    .arg(place.areaColumn)
                    .arg(place.areaRow)
                    .arg(place.cellColumn)
                    .arg(place.cellRow)
                    .arg(QFileInfo(source.path).fileName()));
    m_cutter->request(source.path, place);
}

void MainWindow::showCut(const QString &path, const AreaCut &cut)
{
    if (!cut.ok()) {
        showMessage(cut.failure);
        return;
    }
    Picture1->setPicture(cut.image);
    showMessage(cutSummary(path, cut));
}
