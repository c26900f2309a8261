#include "areas/area_job.h"
#include "areas/line_parts.h"
#include "areas/polygon_parts.h"
#include "grid/grid_constants.h"
#include "ogr_files.h"
#include "window_driver.h"

#include <QDir>

#include <cmath>
#include <numbers>

// Every file the areas job writes must be what the window writes when a user types the
// coordinates of its first line, presses Calculate, presses the part's pixels and Create.
class AreasWindowTest : public QObject
{
    Q_OBJECT

    static QStringList firstLineTexts(const QByteArray &file)
    {
        const QString first = QString::fromLatin1(file.left(file.indexOf("\r\n")));
        return first.mid(QStringLiteral(";----> FS Coordinates:").size())
            .split(u' ', Qt::SkipEmptyParts);
    }

    // A press exactly on a pixel: a click's whole panel units reach only 255 of the 256
    // pixels, so the event carries the fraction a finer pointer would.
    static void press(WindowDriver &w, ImagePosition pixel)
    {
        QWidget *panel = w.control("Picture1");
        const QRectF inner = panel->contentsRect();
        const QPointF at = inner.topLeft()
                           + QPointF(pixel.x * inner.width() / 256, pixel.y * inner.height() / 256);
        QMouseEvent event(QEvent::MouseButtonPress, at, panel->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(panel, &event);
        QMouseEvent release(QEvent::MouseButtonRelease, at, panel->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(panel, &release);
    }

    static QByteArray byTheWindow(const QByteArray &file, const std::vector<ImagePosition> &pixels,
                                  const char *create, const char *written)
    {
        WindowDriver w;
        if (!w.start())
            qFatal("no window");
        const QStringList texts = firstLineTexts(file);
        if (texts.size() != 4)
            return {};
        w.set("txtlatdeg", texts[0]);
        w.set("txtlatmin", texts[1]);
        w.set("txtlongdeg", texts[2]);
        w.set("txtlongmin", texts[3]);
        w.click("cmdcalculate");
        for (const ImagePosition &p : pixels)
            press(w, p);
        w.click(create);
        return w.file(written);
    }

    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void aLakeOverFourAreasIsWhatTheWindowWrites()
    {
        // Around the corner where areas 2 and 3 of rows 27 and 28 of cell 123, 120 meet.
        const GeoBounds home = areaBounds(GridPlace{123, 120, 2, 27});
        QString wkt = QStringLiteral("POLYGON((");
        for (int i = 0; i <= 16; ++i) {
            const double a = 2 * std::numbers::pi * (i % 16) / 16;
            wkt += QStringLiteral("%1 %2,")
                       .arg(home.east + 0.37 * lod::areaWidth * std::cos(a), 0, 'g', 15)
                       .arg(home.south + 0.29 * lod::areaHeight * std::sin(a), 0, 'g', 15);
        }
        wkt.chop(1);
        wkt += QStringLiteral("))");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lake.geojson"));
        const QByteArray text = wkt.toUtf8();
        QVERIFY(writeVectorFile(path, "GeoJSON", {{wkbPolygon, {text.constData()}}}));
        AreasRequest request;
        request.shapePath = path;
        request.outputFolder = dir.filePath(QStringLiteral("out"));
        const AreasOutcome outcome = writeAreas(request);
        QCOMPARE(outcome.result, AreasOutcome::Result::Written);

        OGRGeometry *lake = nullptr;
        OGRGeometryFactory::createFromWkt(text.constData(), nullptr, &lake);
        PolygonTally tally;
        std::vector<AreaPart> parts;
        polygonAreaParts(*lake, tally, [&](AreaPart &&p) { parts.push_back(std::move(p)); });
        OGRGeometryFactory::destroyGeometry(lake);
        QCOMPARE(parts.size(), std::size_t(4));
        for (const AreaPart &part : parts) {
            const QString name = lwmFileName(part.place, 1);
            const QByteArray file = read(QDir(request.outputFolder).filePath(name));
            QVERIFY2(!file.isEmpty(), qPrintable(name));
            QCOMPARE(byTheWindow(file, part.pixels, "cmdcreatelwm", "LWMSource.asm"), file);
        }
    }

    // A road over the edge between cells 123 and 124: each half stays on its first area's
    // image, so that it can be clicked.
    void aRoadOverACellEdgeIsWhatTheWindowWrites()
    {
        const GeoBounds east = areaBounds(GridPlace{124, 120, 0, 5});
        const double y = (east.north + east.south) / 2;
        const std::vector<GeoPoint> road{
            {y + 0.2 * lod::areaHeight, east.west - 0.5 * lod::areaWidth},
            {y, east.west + 0.1 * lod::areaWidth},
            {y - 0.3 * lod::areaHeight, east.west + 0.6 * lod::areaWidth}};
        QString wkt = QStringLiteral("LINESTRING(");
        for (const GeoPoint &p : road)
            wkt +=
                QStringLiteral("%1 %2,").arg(p.longitude, 0, 'g', 17).arg(p.latitude, 0, 'g', 17);
        wkt.chop(1);
        wkt += u')';
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("road.geojson"));
        const QByteArray text = wkt.toUtf8();
        QVERIFY(writeVectorFile(path, "GeoJSON", {{wkbLineString, {text.constData()}}}));
        AreasRequest request;
        request.shapePath = path;
        request.outputFolder = dir.filePath(QStringLiteral("out"));
        QCOMPARE(writeAreas(request).result, AreasOutcome::Result::Written);

        const std::vector<CellLine> halves = cutAtCells(road);
        QCOMPARE(halves.size(), std::size_t(2));
        for (const CellLine &half : halves) {
            const LinePresses presses = linePresses(half.cellColumn, half.cellRow, half.points);
            const QString name = vtpFileName(half.cellColumn, half.cellRow, 1);
            const QByteArray file = read(QDir(request.outputFolder).filePath(name));
            QVERIFY2(!file.isEmpty(), qPrintable(name));
            QCOMPARE(byTheWindow(file, presses.pixels, "cmdcreatevtp", "VTPSource.asm"), file);
        }
    }
};

QTEST_MAIN(AreasWindowTest)
#include "areas_window_test.moc"
