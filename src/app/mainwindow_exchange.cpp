// Shapes in and out: the LWM polygon and the VTP line exported for a GIS, and a line,
// polygon or points of a GIS file imported as presses on the picture.
#include "app/mainwindow.h"

#include "app/desktop.h"
#include "app/line_edit_counter.h"
#include "app/program_title.h"
#include "canvas/point_capture.h"
#include "exchange/shape_export.h"
#include "exchange/shape_reader.h"
#include "exchange/vertex_presses.h"
#include "grid/geo_bounds.h"
#include "lists/list_changes.h"
#include "widgets/point_list.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>

#include <utility>

void MainWindow::addExchangeCommands(QMenu *file)
{
    QAction *exportShapes =
        file->addAction(QStringLiteral("Expor&t Shapes..."), this, &MainWindow::mnuexport_Click);
    exportShapes->setObjectName(QStringLiteral("mnuexport"));
    QAction *importPoints =
        file->addAction(QStringLiteral("&Import Points..."), this, &MainWindow::mnuimport_Click);
    importPoints->setObjectName(QStringLiteral("mnuimport"));
}

std::optional<GridPlace> MainWindow::requireCalculatedPlace()
{
    const auto place = gridPlaceFromCaptions(lblcellx->text(), lblcelly->text(), lblareax->text(),
                                             lblareay->text());
    if (!place)
        m_desktop.messageBox(this,
                             QStringLiteral("Calculate first: the shapes are placed on the globe "
                                            "by the calculated cell and area."),
                             programTitle());
    return place;
}

void MainWindow::mnuexport_Click()
{
    const std::optional<GridPlace> place = requireCalculatedPlace();
    if (!place)
        return;
    const ExportShapes shapes =
        exportShapes(*place, {lstLWM->entries(), lstVTP->entries(), txtaltitude->text(),
                              cbovtptype->currentText(), cbolayer->currentText()});
    if (!shapes.hasPolygon() && !shapes.hasLine()) {
        m_desktop.messageBox(this,
                             QStringLiteral("Nothing to export: a polygon needs three LWM points "
                                            "and a line two VTP points."),
                             programTitle());
        return;
    }
    QString filter;
    const std::optional<QString> name = m_desktop.saveFileName(this, exportFilter(), &filter);
    if (!name)
        return;
    const ExportTarget target = exportTarget(*name, filter);
    if (const QString failure = writeShapes(target, shapes); !failure.isEmpty()) {
        m_desktop.messageBox(this, failure, programTitle());
        return;
    }
    statusBar()->showMessage(exportSummary(shapes, target.path));
}

void MainWindow::mnuimport_Click()
{
    const std::optional<GridPlace> place = requireCalculatedPlace();
    if (!place)
        return;
    const std::optional<QString> path = m_desktop.openFileName(this, importFilter());
    if (!path)
        return;
    const auto refuse = [&](const QString &why) {
        m_desktop.messageBox(this, why, programTitle());
    };
    const ShapeListing listing = listShapes(*path);
    if (!listing.failure.isEmpty())
        return refuse(listing.failure);
    std::size_t chosen = 0;
    if (listing.candidates.size() > 1) {
        QStringList items;
        for (const ShapeCandidate &c : listing.candidates)
            items << candidateText(c);
        const QString prompt = listing.more ? QStringLiteral("Press which shape? (the first %1 "
                                                             "of the file are listed)")
                                                  .arg(candidateLimit)
                                            : QStringLiteral("Press which shape?");
        const std::optional<int> pick = m_desktop.chooseItem(this, prompt, items);
        if (!pick || *pick < 0 || *pick >= items.size())
            return;
        chosen = std::size_t(*pick);
    }
    const ShapeCandidate &candidate = listing.candidates[chosen];
    const ShapeVertices shape = readShape(*path, candidate);
    if (!shape.failure.isEmpty())
        return refuse(shape.failure);
    const VertexPresses presses = vertexPresses(*place, shape.vertices);
    if (const QString refusal = importRefusal(candidate, presses); !refusal.isEmpty())
        return refuse(refusal);
    pressAll(presses.positions);
    statusBar()->showMessage(importSummary(*path, candidate, shape, presses));
}

// Every position goes through the steps of Picture1_MouseDown, in turn; the lists take the
// entries, and are drawn, once, and the whole import is one step on the undo stack.
void MainWindow::pressAll(const std::vector<ImagePosition> &positions)
{
    auto change = std::make_unique<PointCaptured>(*lstLWM, *lstVTP, *m_lwmCounter, *m_vtpCounter);
    runHandler([&] {
        const CaptureRun run =
            captureRun(positions, lblareax->text(), lblareay->text(), txtvtpnumber->text(),
                       txtvtplinewidth->text(), lstLWM->count(), lstVTP->count());
        showReadouts(run.last.readouts);
        lstLWM->append(run.lwmEntries);
        lstVTP->append(run.vtpEntries);
        m_lwmCounter->setState({run.last.lwmCounter, run.last.lwmWarning});
        m_vtpCounter->setState({run.last.vtpCounter, run.last.vtpWarning});
        redrawShapes();
    });
    record(std::move(change), QStringLiteral("Import Points"));
}
