// The menu bar and its commands: help documents, the about box and the end of a run.
#include "app/mainwindow.h"

#include "widgets/about_box.h"
#include "widgets/desktop.h"
#include "widgets/program_title.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenuBar>
#include <QPointer>

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnufile"));
    const struct
    {
        const char *name, *caption;
        void (MainWindow::*handler)();
        QKeySequence keys;
    } workItems[] = {
        {"mnunew", "&New", &MainWindow::mnunew_Click, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuopen", "&Open...", &MainWindow::mnuopen_Click, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnusave", "&Save", &MainWindow::mnusave_Click, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnusaveas", "Save &As...", &MainWindow::mnusaveas_Click,
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"mnuoutputfolder", "Output &Folder...", &MainWindow::mnuoutputfolder_Click, {}},
    };
    for (const auto &item : workItems) {
        QAction *a = file->addAction(QLatin1String(item.caption), this, item.handler);
        a->setObjectName(QLatin1String(item.name));
        a->setShortcut(item.keys);
    }
    file->addSeparator();
    addExchangeCommands(file);
    file->addSeparator();
    QAction *exit = file->addAction(QStringLiteral("&Exit"), this, &MainWindow::mnuexit_Click);
    exit->setObjectName(QStringLiteral("mnuexit"));
    // Ctrl+Q everywhere: Windows has no standard key to quit, and the help promises this one.
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    exit->setShortcutContext(Qt::ApplicationShortcut);

    // A divider between the two menus; it carries no command.
    QAction *divider = bar->addAction(QStringLiteral("|"));
    divider->setObjectName(QStringLiteral("mnu01"));
    divider->setEnabled(false);

    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuhelp"));
    QAction *quick = help->addAction(QStringLiteral("&Quick Start Guide"), this,
                                     &MainWindow::mnuquickstart_Click);
    quick->setObjectName(QStringLiteral("mnuquickstart"));
    QAction *tutorial =
        help->addAction(QStringLiteral("Help Tutorial"), this, &MainWindow::mnuhelptutorial_Click);
    tutorial->setObjectName(QStringLiteral("mnuhelptutorial"));
    tutorial->setShortcut(QKeySequence::HelpContents);
    tutorial->setShortcutContext(Qt::ApplicationShortcut);
    QAction *about =
        help->addAction(QStringLiteral("&About Marlith"), this, &MainWindow::mnuabout_Click);
    about->setObjectName(QStringLiteral("mnuabout"));
}

void MainWindow::OpenFile(const QString &path)
{
    // A missing document simply shows nothing; one that nothing could show is named, so that
    // the user can open it by hand, also when the launcher gives up after it started.
    const QPointer<MainWindow> window(this);
    const auto cannotShow = [window, path] {
        if (window && QFileInfo::exists(path))
            window->m_desktop.messageBox(
                window,
                QStringLiteral("No program could be started to show %1.\n\nOpen it in a web "
                               "browser: drag the file onto the browser's window, or type its "
                               "path in the address bar.")
                    .arg(QDir::toNativeSeparators(path)),
                programTitle());
    };
    if (!m_desktop.openDocument(path, cannotShow))
        cannotShow();
}

QString MainWindow::helpDocument(const QString &name) const
{
    return helpFolder(m_desktop.programFolder(), m_desktop.programLayout()) + QDir::separator()
           + name;
}

void MainWindow::mnuhelptutorial_Click()
{
    OpenFile(helpDocument(QStringLiteral("Help.htm")));
}

void MainWindow::mnuquickstart_Click()
{
    OpenFile(helpDocument(QStringLiteral("QuickStart.htm")));
}

void MainWindow::mnuabout_Click()
{
    if (!m_about)
        m_about = new AboutBox(this);
    if (!m_about->isVisible())
        m_about->move(frameGeometry().center() - m_about->rect().center());
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

void MainWindow::mnuexit_Click()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Unsaved work is never lost without a question; nothing unsaved, nothing asked.
    if (!workMayGo()) {
        event->ignore();
        return;
    }
    // Closing the main window ends the run, also when the about box is open or hidden.
    if (m_about)
        m_about->close();
    event->accept();
    QApplication::quit();
}
