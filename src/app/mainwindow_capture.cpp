// Capture on the image panel: the cursor readouts and a press into both lists. The shapes
// over the picture follow the session by themselves.
#include "app/mainwindow.h"

#include "session/session.h"
#include "widgets/area_preview.h"
#include "widgets/image_panel.h"

void MainWindow::Picture1_MouseMove(QPointF position)
{
    // A written area is shown: the readouts would speak of the work's area.
    if (m_preview->previewing())
        return;
    runHandler([&] { m_session->moveCursor(position, m_form.Picture1->innerSize()); });
    showCursorPosition(position, m_form.Picture1->innerSize());
}

void MainWindow::Picture1_MouseDown(QPointF position)
{
    // A point pressed over another area than the work's would land in the wrong place.
    if (m_preview->previewing())
        return m_preview->mnuendpreview_Click();
    runHandler([&] { m_session->press(position, m_form.Picture1->innerSize()); });
    // A press sets both counters: a hint shown before is past.
    showCounterHints({ListSide::Lwm, ListSide::Vtp});
}
