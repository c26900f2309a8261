#pragma once

#include "file_bytes.h"
#include "writers/source_writers.h"

#include <QDir>
#include <QPoint>

// An area file of area 2, 27 of cell 123, 120, as the areas job writes one: a lake, a pond
// beside it, and an island in the lake, each a square of image pixels.
inline LwmAreaInputs lakeArea()
{
    const auto square = [](int x0, int y0, int x1, int y1) {
        QStringList entries;
        for (QPoint p : {QPoint(x0, y0), QPoint(x1, y0), QPoint(x1, y1), QPoint(x0, y1)})
            entries << QStringLiteral("LWMPoint %1, %2").arg(p.x()).arg(p.y());
        return entries;
    };
    return {"47",
            "30.62",
            "-122",
            "18.43",
            "123",
            "120",
            "2",
            "27",
            "0",
            {{LwmFill::Water, "4", square(20, 20, 200, 200)},
             {LwmFill::Water, "4", square(210, 210, 250, 250)},
             {LwmFill::Land, "4", square(80, 80, 120, 120)}}};
}

// The area file written into the folder under the name the job gives it; empty if it failed.
inline QString writeLakeAreaFile(const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("LWM_123_120_2_27.asm"));
    return writeFileBytes(path, lwmAreaText(lakeArea(), QLocale::c())) ? path : QString();
}
