// Shapes in and out: the LWM polygon and the VTP line exported for a GIS, and a line,
// polygon or points of a GIS file imported as presses on the picture.
#include "app/mainwindow.h"

#include "exchange/shape_export.h"
#include "exchange/shape_reader.h"
#include "session/dialog_folders.h"
#include "session/session.h"
#include "widgets/area_preview.h"
#include "widgets/areas_dialog.h"
#include "widgets/desktop.h"
#include "widgets/osm_menu.h"
#include "widgets/program_title.h"
#include "workfile/work_file.h"

#include <QAction>
#include <QMenu>

void MainWindow::addExchangeCommands(QMenu *file)
{
    QAction *exportShapes =
        file->addAction(QStringLiteral("Expor&t Shapes..."), this, &MainWindow::mnuexport_Click);
    exportShapes->setObjectName(QStringLiteral("mnuexport"));
    QAction *importPoints =
        file->addAction(QStringLiteral("&Import Points..."), this, &MainWindow::mnuimport_Click);
    importPoints->setObjectName(QStringLiteral("mnuimport"));
    QAction *writeAreas = file->addAction(QStringLiteral("Write A&reas for a Shape..."), this,
                                          &MainWindow::mnuwriteareas_Click);
    writeAreas->setObjectName(QStringLiteral("mnuwriteareas"));
    file->addAction(QStringLiteral("Write Areas from OpenStreet&Map..."), this,
                    [this] { m_osm->openDialog(); })
        ->setObjectName(QStringLiteral("mnuwriteosm"));
}

void MainWindow::mnuwriteareas_Click()
{
    const WorkState &work = m_session->work();
    auto *dialog =
        new AreasDialog(m_desktop, {work.altitude, work.layer, work.vtpWidth, work.lineType},
                        m_session->outputFolder(), this);
    dialog->setObjectName(QStringLiteral("frmareas"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_preview->watch(dialog);
    dialog->open();
}

void MainWindow::mnuexport_Click()
{
    runHandler([&] {
        // Read once, before anything is asked, so that nothing is asked when nothing can be
        // written.
        const ExportShapes shapes = m_session->shapesToExport();
        QString filter;
        const std::optional<QString> name =
            m_desktop.saveFileName(this, QStringLiteral("Export Shapes"), exportFilter(),
                                   dialogFolder(FileDialog::Export), &filter);
        if (!name)
            return;
        rememberDialogFile(FileDialog::Export, *name);
        showStatus(m_session->exportShapes(exportTarget(*name, filter), shapes));
    });
}

void MainWindow::mnuimport_Click()
{
    runHandler([&] {
        m_session->requirePlace(); // nothing is asked when nothing can be pressed
        const std::optional<QString> path =
            m_desktop.openFileName(this, QStringLiteral("Import Points"), importFilter(),
                                   dialogFolder(FileDialog::Import));
        if (!path)
            return;
        rememberDialogFile(FileDialog::Import, *path);
        const ShapeListing listing = m_session->shapesToImport(*path);
        std::size_t chosen = 0;
        if (listing.candidates.size() > 1) {
            QStringList items;
            for (const ShapeCandidate &c : listing.candidates)
                items << candidateText(c);
            const std::optional<int> pick =
                m_desktop.chooseItem(this, pickQuestion(listing), items);
            if (!pick || *pick < 0 || *pick >= items.size())
                return;
            chosen = std::size_t(*pick);
        }
        showStatus(m_session->importShape(*path, listing.candidates[chosen]));
    });
}
