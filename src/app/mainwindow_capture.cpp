// Capture on the image panel: the cursor readouts, a press into both lists, the shapes drawn
// over the picture, and loading the picture.
#include "app/mainwindow.h"

#include "app/desktop.h"
#include "app/line_edit_counter.h"
#include "canvas/overlay.h"
#include "canvas/picture_loader.h"
#include "canvas/point_capture.h"
#include "grid/grid_constants.h"
#include "imagery/area_cut.h"
#include "lists/list_changes.h"
#include "text/numbers.h"
#include "widgets/image_panel.h"
#include "widgets/point_list.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

#include <utility>

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

CursorInput MainWindow::cursorInput(QPointF position) const
{
    const QSizeF inner = Picture1->innerSize();
    return {float(position.x()),   float(position.y()), float(inner.width()),
            float(inner.height()), lblareax->text(),    lblareay->text()};
}

void MainWindow::showReadouts(const CursorReadouts &r)
{
    lblx->setText(r.lblx);
    lbly->setText(r.lbly);
    lblvtp2x->setText(r.lblvtp2x);
    lblvtp2y->setText(r.lblvtp2y);
}

void MainWindow::Picture1_MouseMove(QPointF position)
{
    runHandler([&] { showReadouts(mapCursorToGrid(cursorInput(position), 0)); });
    showCursorPosition(position, Picture1->innerSize());
}

void MainWindow::Picture1_MouseDown(QPointF position)
{
    auto change = std::make_unique<PointCaptured>(*lstLWM, *lstVTP, *m_lwmCounter, *m_vtpCounter);
    runHandler([&] {
        const Capture c = capturePoint(cursorInput(position), txtvtpnumber->text(),
                                       txtvtplinewidth->text(), lstLWM->count(), lstVTP->count());
        showReadouts(c.readouts);
        lstLWM->append({c.lwmEntry});
        lstVTP->append(c.vtpEntries);
        m_lwmCounter->setState({c.lwmCounter, c.lwmWarning});
        m_vtpCounter->setState({c.vtpCounter, c.vtpWarning});

        Picture1->appendToShapes(lwmEntryPixel(c.lwmEntry), std::nullopt);
        for (const QString &e : c.vtpEntries)
            Picture1->appendToShapes(std::nullopt, vtpEntryPixel(e, c.areaColumn, c.areaRow));
    });
    record(std::move(change), QStringLiteral("Capture point"));
    showCounterHints(Counters::Both); // a press sets both counters: a hint shown before is past
}

void MainWindow::redrawShapes()
{
    const double ax = leadingNumber(lblareax->text()), ay = leadingNumber(lblareay->text());
    QPolygonF polygon, line;
    int polygonHighlight = -1, lineHighlight = -1;
    const QStringList &lwm = lstLWM->entries(), &vtp = lstVTP->entries();
    const int lwmSelected = lstLWM->selectedIndex(), vtpSelected = lstVTP->selectedIndex();
    for (int i = 0; i < lwm.size(); ++i) {
        if (const auto p = lwmEntryPixel(lwm[i])) {
            if (i == lwmSelected)
                polygonHighlight = int(polygon.size());
            polygon << *p;
        }
    }
    for (int i = 0; i < vtp.size(); ++i) {
        if (const auto p = vtpEntryPixel(vtp[i], ax, ay)) {
            if (i == vtpSelected)
                lineHighlight = int(line.size());
            line << *p;
        }
    }
    Picture1->setShapes(polygon, line);
    Picture1->setHighlighted(polygonHighlight, lineHighlight);
}

void MainWindow::cmdload_Click()
{
    // Every failure ends this without a message box: the panel keeps the picture it had, and
    // the status line says why.
    const std::optional<QString> path = m_desktop.openFileName(this, imageFilter(), m_imageFolder);
    if (!path)
        return;
    // The next image is most likely beside this one.
    m_imageFolder = QFileInfo(*path).absolutePath();
    loadImage(*path);
}

void MainWindow::loadImage(const QString &path)
{
    const ImageProbe probe = probeImage(path);
    if (probe.kind != ImageProbe::Plain)
        return loadGeoreferenced(path, probe);
    if (const std::optional<QImage> picture = loadPicture(path)) {
        supersedeCuts();
        Picture1->setPicture(*picture);
        m_imagePath = QFileInfo(path).absoluteFilePath();
        m_imageGeoreferenced = false;
        if (picture->size() != QSize(lod::pixelUnits, lod::pixelUnits))
            statusBar()->showMessage(imageSizeNote(picture->size()));
    } else if (!probe.reason.isEmpty()) {
        statusBar()->showMessage(probe.reason);
    }
}
