// Where the calculated cell and area lie, and where the cursor is, in degrees: help for
// cutting the right image. Nothing here touches a text that the writers read.
#include "app/mainwindow.h"

#include "grid/geo_bounds.h"
#include "session/session.h"
#include "text/numbers.h"

#include <QLabel>

void MainWindow::showGridBounds()
{
    setPlaceStatus(areaPlaceText(m_session->place()));
    const QString &cellX = m_session->text(Field::CellX), &cellY = m_session->text(Field::CellY);
    if (cellX.isEmpty() || cellY.isEmpty())
        return;
    const int cx = int(leadingNumber(cellX)), cy = int(leadingNumber(cellY));
    const QString cell =
        boundsText(QStringLiteral("LOD 8 cell %1, %2").arg(cx).arg(cy), cellBounds(cx, cy));
    for (QLabel *l : {lblcellx, lblcelly})
        l->setToolTip(cell);
    if (!m_session->place())
        return;
    const QString areaText =
        boundsText(QStringLiteral("LOD 13 area %1, %2")
                       .arg(m_session->text(Field::AreaX), m_session->text(Field::AreaY)),
                   areaBounds(*m_session->place()));
    for (QLabel *l : {lblareax, lblareay})
        l->setToolTip(areaText);
}

void MainWindow::showCursorPosition(QPointF position, QSizeF innerSize)
{
    if (innerSize.isEmpty())
        return setPlaceStatus(areaPlaceText(m_session->place()));
    setPlaceStatus(cursorPlaceText(m_session->place(), position.x() / innerSize.width(),
                                   position.y() / innerSize.height()));
}
