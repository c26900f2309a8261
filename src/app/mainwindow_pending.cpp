// Handlers whose subsystems are being wired in; each is replaced by its own file.
#include "mainwindow.h"

#include "desktop.h"

#include <QDir>

void MainWindow::cmdload_Click() {}
void MainWindow::Picture1_MouseMove(QPointF) {}
void MainWindow::Picture1_MouseDown(QPointF) {}
void MainWindow::cmdcreatelwm_Click() {}
void MainWindow::cmdcreatevtp_Click() {}
void MainWindow::cmdlwmclearlistitem_Click() {}
void MainWindow::cmdvtpclearitem_Click() {}
void MainWindow::cmdclearlwmlist_Click() {}
void MainWindow::cmdclearvtplist_Click() {}
void MainWindow::lstLWM_DblClick() {}
void MainWindow::lstVTP_DblClick() {}
QString MainWindow::LWMFilePath() const { return m_desktop.programFolder() + QDir::separator() + "LWMSource.asm"; }
QString MainWindow::VTPFilePath() const { return m_desktop.programFolder() + QDir::separator() + "VTPSource.asm"; }
