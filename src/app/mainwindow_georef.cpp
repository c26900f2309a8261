// Where the calculated cell and area lie, and where the cursor is, in degrees: help for
// cutting the right image. Nothing here touches a text that the writers read.
#include "app/mainwindow.h"

#include "grid/geo_bounds.h"
#include "session/session.h"

#include <QLabel>

void MainWindow::showGridBounds()
{
    const std::optional<GridPlace> &place = m_session->place();
    setPlaceStatus(areaPlaceText(place));
    if (!place)
        return;
    const QString cell =
        boundsText(QStringLiteral("LOD 8 cell %1, %2").arg(place->cellColumn).arg(place->cellRow),
                   cellBounds(place->cellColumn, place->cellRow));
    for (QLabel *l : {m_form.lblcellx, m_form.lblcelly})
        l->setToolTip(cell);
    const QString area =
        boundsText(QStringLiteral("LOD 13 area %1, %2").arg(place->areaColumn).arg(place->areaRow),
                   areaBounds(*place));
    for (QLabel *l : {m_form.lblareax, m_form.lblareay})
        l->setToolTip(area);
}

void MainWindow::showCursorPosition(QPointF position, QSizeF innerSize)
{
    if (innerSize.isEmpty())
        return setPlaceStatus(areaPlaceText(m_session->place()));
    setPlaceStatus(cursorPlaceText(m_session->place(), position.x() / innerSize.width(),
                                   position.y() / innerSize.height()));
}
