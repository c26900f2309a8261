#pragma once

#include <QPointF>
#include <QStringView>

#include <optional>

// Where a list entry lies in the area image, so the panel can draw the shape being built.
// Entries of another form (width entries, typed free text) have no place and give nothing.
std::optional<QPointF> lwmEntryPixel(QStringView entry);
std::optional<QPointF> vtpEntryPixel(QStringView entry, double areaColumn, double areaRow);
