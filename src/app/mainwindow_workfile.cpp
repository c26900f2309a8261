// Keeping the work: Open, Save and Save As of work files, reopening generated sources, New,
// and files dropped on the window.
#include "app/mainwindow.h"

#include "session/dialog_folders.h"
#include "session/session.h"
#include "widgets/desktop.h"
#include "widgets/file_drops.h"
#include "widgets/image_panel.h"
#include "widgets/program_title.h"
#include "widgets/status_line.h"
#include "workfile/opening.h"
#include "workfile/work_file.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString openFilter = QStringLiteral("Marlith work and sources (*.marlith *.asm);;")
                           + workFileFilter
                           + QStringLiteral(";;LWM and VTP sources (*.asm);;All files (*)");

bool isWorkOrSource(const QString &path)
{
    return path.endsWith(QStringLiteral(".marlith"), Qt::CaseInsensitive)
           || path.endsWith(QStringLiteral(".asm"), Qt::CaseInsensitive);
}

} // namespace

void MainWindow::buildWorkFile()
{
    // Files dropped on the window open as Open would; a picture dropped on the panel loads as
    // Load 256x256 Image would.
    new FileDrops(
        this, m_form.Picture1,
        [](const QString &path, bool onPanel) { return onPanel || isWorkOrSource(path); },
        [this](const QString &path) {
            isWorkOrSource(path) ? openWorkOrSource(path) : loadImage(path);
        });
}

void MainWindow::openWorkOrSource(const QString &path)
{
    // Entries of one cell written under another would land kilometres away, without a word.
    const auto ask = [this, &path](const StrandedEntries &st) {
        const StrandedQuestion question = Session::strandedQuestion(path, st);
        switch (m_desktop.askKeepOrClear(this, question.text, question.clearButton)) {
        case Desktop::KeepChoice::Keep:
            return StrandedChoice::Keep;
        case Desktop::KeepChoice::Clear:
            return StrandedChoice::Clear;
        case Desktop::KeepChoice::Cancel:
            break;
        }
        return StrandedChoice::Cancel;
    };
    OpenOutcome outcome;
    if (!runHandler([&] { outcome = m_session->open(path, ask); }))
        return;
    showGridBounds();
    showStatus(m_session->openedText(path, outcome));
}

void MainWindow::mnunew_Click()
{
    if (!workMayGo())
        return;
    // The picked imagery service is a preference, as at a restart: only the work starts over.
    const QJsonObject service = m_session->imageSource().service;
    m_session->startOver();
    if (!service.isEmpty()) {
        m_session->setImageSource({{}, false, service});
        m_session->setModified(false);
    }
    // What the status line said was of the work that went.
    m_status->clearMessage();
    showGridBounds();
}

void MainWindow::mnuopen_Click()
{
    const std::optional<QString> path =
        m_desktop.openFileName(this, {}, openFilter, dialogFolder(FileDialog::Open));
    if (!path)
        return;
    rememberDialogFile(FileDialog::Open, *path);
    openWorkOrSource(*path);
}

void MainWindow::mnusave_Click()
{
    if (m_session->workFile().isEmpty())
        mnusaveas_Click();
    else
        saveWorkTo(m_session->workFile());
}

void MainWindow::mnusaveas_Click()
{
    std::optional<QString> path =
        m_desktop.saveFileName(this, {}, workFileFilter, dialogFolder(FileDialog::Save), nullptr);
    if (!path)
        return;
    rememberDialogFile(FileDialog::Save, *path);
    if (!path->endsWith(QStringLiteral(".marlith"), Qt::CaseInsensitive))
        *path += QStringLiteral(".marlith");
    saveWorkTo(*path);
}

void MainWindow::saveWorkTo(const QString &path)
{
    StatusText saved;
    if (runHandler([&] { saved = m_session->save(path); }))
        showStatus(saved);
}

bool MainWindow::workMayGo()
{
    if (!m_session->isModified())
        return true;
    switch (m_desktop.askToSave(this, m_session->unsavedQuestion())) {
    case Desktop::SaveChoice::Save:
        mnusave_Click();
        return !m_session->isModified(); // a cancelled or failed save keeps the work
    case Desktop::SaveChoice::Discard:
        return true;
    case Desktop::SaveChoice::Cancel:
        return false;
    }
    return false;
}
