// The two Create commands and viewing what they wrote.
#include "app/mainwindow.h"

#include "app/desktop.h"
#include "app/program_title.h"
#include "session/session.h"
#include "session/typing_hints.h"

#include <QDir>
#include <QFileInfo>

namespace {

void viewSourceFile(Desktop &desktop, QWidget *window, const QString &path,
                    const QString &missingMessage)
{
    if (!QFileInfo(path).isFile()) {
        desktop.messageBox(window, missingMessage, programTitle());
        return;
    }
    if (!desktop.startTextEditor(path)) {
        desktop.messageBox(window,
                           QStringLiteral("The text editor could not be started for %1.")
                               .arg(QDir::toNativeSeparators(path)),
                           programTitle());
    }
}

} // namespace

QString MainWindow::LWMFilePath() const
{
    return m_session->lwmSourcePath();
}

QString MainWindow::VTPFilePath() const
{
    return m_session->vtpSourcePath();
}

void MainWindow::cmdcreatelwm_Click()
{
    runHandler([&] {
        m_session->createLwm();
        showCounterHints(Counters::Lwm);
    });
}

void MainWindow::cmdcreatevtp_Click()
{
    runHandler([&] {
        m_session->createVtp();
        // A counter that misses its list matters more: its hint comes last and stays shown.
        if (const QString hint = lineTypeHint(m_session->text(Field::LineType)); !hint.isEmpty())
            showMessage(hint);
        showCounterHints(Counters::Vtp);
    });
}

void MainWindow::cmdViewLWM_Click()
{
    viewSourceFile(m_desktop, this, LWMFilePath(),
                   QStringLiteral("File hasn't been created yet. If you want to create the file "
                                  "please click \"Create LWMsource.asm\""));
}

void MainWindow::cmdViewVTP_Click()
{
    viewSourceFile(m_desktop, this, VTPFilePath(),
                   QStringLiteral("File hasn't been created yet. If you want to create the file "
                                  "please click \"Create VTPsource.asm\""));
}
