// The two Create commands, viewing what they wrote, and the folder they write into.
#include "app/mainwindow.h"

#include "session/session.h"
#include "session/typing_hints.h"
#include "text/runtime_error.h"
#include "widgets/desktop.h"
#include "widgets/program_title.h"

#include <QDir>
#include <QFileInfo>

QString MainWindow::LWMFilePath() const
{
    return m_session->lwmSourcePath();
}

QString MainWindow::VTPFilePath() const
{
    return m_session->vtpSourcePath();
}

void MainWindow::createSource(ListSide side)
{
    const bool lwm = side == ListSide::Lwm;
    runHandler([&] {
        QString path;
        try {
            path = lwm ? m_session->createLwm() : m_session->createVtp();
        } catch (RuntimeError &e) {
            if (e.number() == RuntimeError::PathFileAccess)
                e.setDetail(e.detail()
                            + QStringLiteral("; File > Output Folder... picks another folder"));
            throw;
        }
        const QString lead = QStringLiteral("Wrote %1.").arg(QDir::toNativeSeparators(path));
        // A file that names no line type is still written as typed; say how to name one.
        showCounterHints({side}, lead,
                         lwm ? QString() : lineTypeHint(m_session->text(Field::LineType)));
    });
}

void MainWindow::cmdcreatelwm_Click()
{
    createSource(ListSide::Lwm);
}

void MainWindow::cmdcreatevtp_Click()
{
    createSource(ListSide::Vtp);
}

void MainWindow::viewSource(ListSide side, const QString &missingMessage)
{
    const bool lwm = side == ListSide::Lwm;
    const QString &failure = m_session->createFailure(side);
    // Not "hasn't been created yet" when Create was pressed and failed: that would send the
    // user to press it again.
    if (!failure.isEmpty()) {
        m_desktop.messageBox(this,
                             QStringLiteral("The last Create failed: %1.\n\n"
                                            "File > Output Folder... picks another folder.")
                                 .arg(failure),
                             programTitle());
        return;
    }
    viewTextFile(m_desktop, this, lwm ? LWMFilePath() : VTPFilePath(), missingMessage);
}

void MainWindow::cmdViewLWM_Click()
{
    viewSource(ListSide::Lwm,
               QStringLiteral("File hasn't been created yet. If you want to create the file "
                              "please click \"Create LWMsource.asm\""));
}

void MainWindow::cmdViewVTP_Click()
{
    viewSource(ListSide::Vtp,
               QStringLiteral("File hasn't been created yet. If you want to create the file "
                              "please click \"Create VTPsource.asm\""));
}

void MainWindow::mnuoutputfolder_Click()
{
    const std::optional<QString> picked = m_desktop.chooseFolder(this, m_session->outputFolder());
    if (!picked)
        return;
    m_session->setOutputFolder(*picked);
    m_desktop.rememberOutputFolder(*picked);
    showMessage(QStringLiteral("Create writes into %1.").arg(QDir::toNativeSeparators(*picked)));
}
