// Where the calculated cell and area lie, and where the cursor is, in degrees: help for
// cutting the right image. Nothing here touches a text that the writers read.
#include "app/mainwindow.h"

#include "grid/geo_bounds.h"
#include "text/numbers.h"

#include <QLabel>
#include <QStatusBar>

std::optional<GeoBounds> MainWindow::shownAreaBounds() const
{
    const auto place = gridPlaceFromCaptions(lblcellx->text(), lblcelly->text(), lblareax->text(),
                                             lblareay->text());
    if (!place)
        return std::nullopt;
    return areaBounds(*place);
}

void MainWindow::showGridBounds()
{
    if (lblcellx->text().isEmpty() || lblcelly->text().isEmpty())
        return;
    const int cx = int(leadingNumber(lblcellx->text())), cy = int(leadingNumber(lblcelly->text()));
    const QString cell =
        boundsText(QStringLiteral("LOD 8 cell %1, %2").arg(cx).arg(cy), cellBounds(cx, cy));
    for (QLabel *l : {lblcellx, lblcelly})
        l->setToolTip(cell);

    const std::optional<GeoBounds> area = shownAreaBounds();
    if (!area)
        return;
    const QString areaText = boundsText(
        QStringLiteral("LOD 13 area %1, %2").arg(lblareax->text(), lblareay->text()), *area);
    for (QLabel *l : {lblareax, lblareay})
        l->setToolTip(areaText);
    statusBar()->showMessage(
        QStringLiteral("Area image: N %1  S %2  W %3  E %4")
            .arg(degreesMinutesText(area->north, true), degreesMinutesText(area->south, true),
                 degreesMinutesText(area->west, false), degreesMinutesText(area->east, false)));
}

void MainWindow::showCursorPosition(QPointF position, QSizeF innerSize)
{
    if (innerSize.isEmpty())
        return;
    const GeoBounds area = shownAreaBounds().value_or(areaBounds(0, 0, 0, 0));
    const GeoPoint p =
        positionInArea(area, position.x() / innerSize.width(), position.y() / innerSize.height());
    statusBar()->showMessage(
        QStringLiteral("Cursor: %1  %2   (%3  %4)")
            .arg(decimalDegreesText(p.latitude, true), decimalDegreesText(p.longitude, false),
                 degreesMinutesText(p.latitude, true), degreesMinutesText(p.longitude, false)));
}
