// Capture on the image panel: the cursor readouts, a press into both lists, and the shapes
// drawn over the picture.
#include "app/mainwindow.h"

#include "canvas/overlay.h"
#include "session/session.h"
#include "text/numbers.h"
#include "widgets/image_panel.h"
#include "widgets/point_list.h"

void MainWindow::Picture1_MouseMove(QPointF position)
{
    runHandler([&] { m_session->moveCursor(position, Picture1->innerSize()); });
    showCursorPosition(position, Picture1->innerSize());
}

void MainWindow::Picture1_MouseDown(QPointF position)
{
    const int lwmBefore = int(m_session->entries(ListSide::Lwm).size());
    const int vtpBefore = int(m_session->entries(ListSide::Vtp).size());
    runHandler([&] { m_session->press(position, Picture1->innerSize()); });
    // Only the new entries are drawn, so that a press costs the same on any length of list.
    const QStringList &lwm = m_session->entries(ListSide::Lwm);
    const QStringList &vtp = m_session->entries(ListSide::Vtp);
    const double ax = leadingNumber(m_session->text(Field::AreaX));
    const double ay = leadingNumber(m_session->text(Field::AreaY));
    for (qsizetype i = lwmBefore; i < lwm.size(); ++i)
        Picture1->appendToShapes(lwmEntryPixel(lwm[i]), std::nullopt);
    for (qsizetype i = vtpBefore; i < vtp.size(); ++i)
        Picture1->appendToShapes(std::nullopt, vtpEntryPixel(vtp[i], ax, ay));
    showCounterHints(Counters::Both); // a press sets both counters: a hint shown before is past
}

void MainWindow::redrawShapes()
{
    const double ax = leadingNumber(m_session->text(Field::AreaX));
    const double ay = leadingNumber(m_session->text(Field::AreaY));
    QPolygonF polygon, line;
    int polygonHighlight = -1, lineHighlight = -1;
    const QStringList &lwm = m_session->entries(ListSide::Lwm);
    const QStringList &vtp = m_session->entries(ListSide::Vtp);
    const int lwmSelected = m_session->selected(ListSide::Lwm);
    const int vtpSelected = m_session->selected(ListSide::Vtp);
    for (int i = 0; i < lwm.size(); ++i) {
        if (const auto p = lwmEntryPixel(lwm[i])) {
            if (i == lwmSelected)
                polygonHighlight = int(polygon.size());
            polygon << *p;
        }
    }
    for (int i = 0; i < vtp.size(); ++i) {
        if (const auto p = vtpEntryPixel(vtp[i], ax, ay)) {
            if (i == vtpSelected)
                lineHighlight = int(line.size());
            line << *p;
        }
    }
    Picture1->setShapes(polygon, line);
    Picture1->setHighlighted(polygonHighlight, lineHighlight);
    std::vector<ImagePanel::FilledPolygon> filled;
    for (const LwmPolygon &other : m_session->areaPolygons()) {
        QPolygonF points;
        for (const QString &entry : other.entries) {
            if (const auto p = lwmEntryPixel(entry))
                points << *p;
        }
        filled.push_back({points, other.fill == LwmFill::Land});
    }
    Picture1->setFilledPolygons(std::move(filled));
}
