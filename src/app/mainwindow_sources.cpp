// The two Create commands and viewing what they wrote.
#include "app/mainwindow.h"

#include "app/desktop.h"
#include "app/program_title.h"
#include "widgets/point_list.h"
#include "writers/source_writers.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>

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
        const LwmInputs in{txtlatdeg->text(),   txtlatmin->text(), txtlongdeg->text(),
                           txtlongmin->text(),  lblcellx->text(),  lblcelly->text(),
                           lblareax->text(),    lblareay->text(),  txtlwmnumber->text(),
                           txtaltitude->text(), lstLWM->entries()};
        // The whole text first: a failure must not leave a broken file behind.
        writeSourceFile(LWMFilePath(), lwmSourceText(in, locale()));
    });
}

void MainWindow::cmdcreatevtp_Click()
{
    runHandler([&] {
        const VtpInputs in{txtlatdeg->text(),       txtlatmin->text(),    txtlongdeg->text(),
                           txtlongmin->text(),      lblcellx->text(),     lblcelly->text(),
                           cbolayer->currentText(), txtvtpnumber->text(), cbovtptype->currentText(),
                           lstVTP->entries()};
        writeSourceFile(VTPFilePath(), vtpSourceText(in, locale()));
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
