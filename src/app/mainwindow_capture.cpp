// Capture on the image panel: the cursor readouts and a press into both lists. The shapes
// over the picture follow the session by themselves.
#include "app/mainwindow.h"

#include "session/session.h"
#include "widgets/image_panel.h"

void MainWindow::Picture1_MouseMove(QPointF position)
{
    runHandler([&] { m_session->moveCursor(position, m_form.Picture1->innerSize()); });
    showCursorPosition(position, m_form.Picture1->innerSize());
}

void MainWindow::Picture1_MouseDown(QPointF position)
{
    runHandler([&] { m_session->press(position, m_form.Picture1->innerSize()); });
    showCounterHints(Counters::Both); // a press sets both counters: a hint shown before is past
}
