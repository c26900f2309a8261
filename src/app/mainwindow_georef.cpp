// Where the calculated cell and area lie, and where the cursor is, in degrees: help for
// cutting the right image. Nothing here touches a text that the writers read.
#include "app/mainwindow.h"

#include "grid/geo_bounds.h"
#include "session/session.h"
#include "text/numbers.h"

#include <QLabel>

namespace {

std::optional<GeoBounds> shownAreaBounds(const Session &session)
{
    if (!session.place())
        return std::nullopt;
    return areaBounds(*session.place());
}

} // namespace

QString MainWindow::areaStatusText() const
{
    const std::optional<GeoBounds> area = shownAreaBounds(*m_session);
    if (!area)
        return QStringLiteral("Type a position\nand press Calculate.");
    return QStringLiteral("Area image: %1 to %2\n%3 to %4")
        .arg(hemisphereMinutesText(area->north, true), hemisphereMinutesText(area->south, true),
             hemisphereMinutesText(area->west, false), hemisphereMinutesText(area->east, false));
}

void MainWindow::showGridBounds()
{
    setPlaceStatus(areaStatusText());
    const QString &cellX = m_session->text(Field::CellX), &cellY = m_session->text(Field::CellY);
    if (cellX.isEmpty() || cellY.isEmpty())
        return;
    const int cx = int(leadingNumber(cellX)), cy = int(leadingNumber(cellY));
    const QString cell =
        boundsText(QStringLiteral("LOD 8 cell %1, %2").arg(cx).arg(cy), cellBounds(cx, cy));
    for (QLabel *l : {lblcellx, lblcelly})
        l->setToolTip(cell);
    const std::optional<GeoBounds> area = shownAreaBounds(*m_session);
    if (!area)
        return;
    const QString areaText =
        boundsText(QStringLiteral("LOD 13 area %1, %2")
                       .arg(m_session->text(Field::AreaX), m_session->text(Field::AreaY)),
                   *area);
    for (QLabel *l : {lblareax, lblareay})
        l->setToolTip(areaText);
}

void MainWindow::showCursorPosition(QPointF position, QSizeF innerSize)
{
    const std::optional<GeoBounds> area = shownAreaBounds(*m_session);
    // Before Calculate the image lies nowhere yet: a place shown for it would be made up.
    if (!area) {
        setPlaceStatus(QStringLiteral("Cursor: nowhere yet;\nCalculate places it on the globe."));
        return;
    }
    if (innerSize.isEmpty())
        return;
    const GeoPoint p =
        positionInArea(*area, position.x() / innerSize.width(), position.y() / innerSize.height());
    setPlaceStatus(QStringLiteral("Cursor: %1  (%2)\n%3  (%4)")
                       .arg(hemisphereMinutesText(p.latitude, true))
                       .arg(p.latitude, 0, 'f', 7)
                       .arg(hemisphereMinutesText(p.longitude, false))
                       .arg(p.longitude, 0, 'f', 7));
}
