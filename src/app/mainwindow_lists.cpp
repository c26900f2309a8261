// The list editing buttons and keys: remove the selected entry, clear a list, insert a typed
// entry. Each edit goes on the undo stack.
#include "app/mainwindow.h"

#include "lists/list_editing.h"
#include "session/session.h"
#include "widgets/desktop.h"
#include "widgets/program_title.h"

void MainWindow::cmdlwmclearlistitem_Click()
{
    m_session->removeSelected(ListSide::Lwm);
    showCounterHints({ListSide::Lwm});
}

void MainWindow::cmdvtpclearitem_Click()
{
    m_session->removeSelected(ListSide::Vtp);
    showCounterHints({ListSide::Vtp});
}

void MainWindow::cmdclearlwmlist_Click()
{
    m_session->clearList(ListSide::Lwm);
    showCounterHints({ListSide::Lwm});
}

void MainWindow::cmdclearvtplist_Click()
{
    m_session->clearList(ListSide::Vtp);
    showCounterHints({ListSide::Vtp});
}

void MainWindow::lstLWM_DblClick()
{
    m_session->insertEntry(
        ListSide::Lwm, m_desktop.inputBox(this, QLatin1String(insertEntryPrompt), programTitle()));
    showCounterHints({ListSide::Lwm});
}

void MainWindow::lstVTP_DblClick()
{
    m_session->insertEntry(
        ListSide::Vtp, m_desktop.inputBox(this, QLatin1String(insertEntryPrompt), programTitle()));
    showCounterHints({ListSide::Vtp});
}
