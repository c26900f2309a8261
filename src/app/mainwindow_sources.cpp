// The two Create commands and viewing what they wrote.
#include "app/mainwindow.h"

#include "app/desktop.h"
#include "app/program_title.h"
#include "workfile/work_state.h"
#include "writers/source_writers.h"

#include <QDir>
#include <QFileInfo>

QString MainWindow::LWMFilePath() const
{
    return lwmSourcePath(m_desktop.programFolder());
}

QString MainWindow::VTPFilePath() const
{
    return vtpSourcePath(m_desktop.programFolder());
}

void MainWindow::cmdcreatelwm_Click()
{
    runHandler([&] {
        // The whole text first: a failure must not leave a broken file behind.
        writeSourceFile(LWMFilePath(), lwmSourceText(lwmInputs(workState()), locale()));
        showCounterHints(Counters::Lwm);
    });
}

void MainWindow::cmdcreatevtp_Click()
{
    runHandler([&] {
        writeSourceFile(VTPFilePath(), vtpSourceText(vtpInputs(workState()), locale()));
        showCounterHints(Counters::Vtp);
    });
}

void MainWindow::viewSourceFile(const QString &path, const QString &missingMessage)
{
    if (!QFileInfo(path).isFile()) {
        m_desktop.messageBox(this, missingMessage, programTitle());
        return;
    }
    if (!m_desktop.startTextEditor(path)) {
        m_desktop.messageBox(this,
                             QStringLiteral("The text editor could not be started for %1.")
                                 .arg(QDir::toNativeSeparators(path)),
                             programTitle());
    }
}

void MainWindow::cmdViewLWM_Click()
{
    viewSourceFile(LWMFilePath(),
                   QStringLiteral("File hasn't been created yet. If you want to create the file "
                                  "please click \"Create LWMsource.asm\""));
}

void MainWindow::cmdViewVTP_Click()
{
    viewSourceFile(VTPFilePath(),
                   QStringLiteral("File hasn't been created yet. If you want to create the file "
                                  "please click \"Create VTPsource.asm\""));
}
