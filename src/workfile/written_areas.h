#pragma once

#include "grid/geo_bounds.h"
#include "writers/source_writers.h"

#include <QString>
#include <QStringList>

#include <vector>

// The areas that one run of the areas or the OpenStreetMap job wrote, read back one at a
// time so that the author can look at each over its imagery before assembling.

struct WrittenArea
{
    QString name; // "LWM_401_121_4_9.asm"
    GridPlace place{};
    std::vector<LwmPolygon> polygons; // in drawing order
    std::vector<QStringList> lines;   // the entries of every line the run wrote for the cell
    int unreadLines = 0;              // line files of the cell gone or changed since the run
    QString failure; // why the area's file cannot be read back; then only `name` holds
};

class WrittenAreas
{
public:
    WrittenAreas() = default;
    // `written` names the files of the run in `folder`, as the job reports them; its LWM
    // files are the areas, in that order.
    WrittenAreas(const QString &folder, const QStringList &written);

    qsizetype count() const { return m_areas.size(); }
    // -1 before the first step.
    qsizetype index() const { return m_index; }
    // Reads the area `by` steps on (negative: back) from the current one, round from the last
    // to the first; the first step forward shows the first area, the first step back the last.
    WrittenArea step(int by);

private:
    const std::vector<QStringList> &cellLines(int cellColumn, int cellRow);

    QString m_folder;
    QStringList m_areas, m_lines;
    qsizetype m_index = -1;
    // The lines of the cell read last: stepping within a cell reads them once.
    int m_cellColumn = -1, m_cellRow = -1;
    std::vector<QStringList> m_cellLines;
    int m_cellUnread = 0;
};
