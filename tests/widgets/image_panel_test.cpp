// The panel's drawing of the captured shapes, compared pixel by pixel.
#include "widgets/image_panel.h"

#include <QPolygonF>
#include <QtTest>

namespace {

const QColor polygonColour(0x00, 0xE0, 0x40), lineColour(0xFF, 0x40, 0xFF);

QImage render(ImagePanel &panel)
{
    return panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

std::unique_ptr<ImagePanel> panelOfSize(int side)
{
    auto panel = std::make_unique<ImagePanel>();
    panel->setFixedSize(side, side);
    QImage picture(256, 256, QImage::Format_RGB32);
    picture.fill(QColor(0x20, 0x30, 0x40));
    panel->setPicture(picture);
    return panel;
}

// Image pixels to widget pixels, for a panel whose inner area starts at (1, 1).
QPoint at(const ImagePanel &panel, QPointF imagePixel)
{
    const QSizeF inner = panel.innerSize();
    return QPoint(int(1 + imagePixel.x() * inner.width() / 256),
                  int(1 + imagePixel.y() * inner.height() / 256));
}

// Colours apart by more than the edges of antialiased strokes are.
bool differ(QColor p, QColor q)
{
    return std::max({std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                     std::abs(p.blue() - q.blue())})
           > 40;
}

int differingPixels(const QImage &a, const QImage &b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += differ(a.pixelColor(x, y), b.pixelColor(x, y));
    return count;
}

bool near(QColor p, QColor q)
{
    return !differ(p, q);
}

QPolygonF zigzag(int points, double offset)
{
    QPolygonF shape;
    for (int i = 0; i < points; ++i)
        shape << QPointF(10 + i * 230.0 / points, offset + (i % 2 ? 40 : 0) + i * 0.7);
    return shape;
}

} // namespace

class ImagePanelTest : public QObject
{
    Q_OBJECT

private slots:
    // Presses draw into what is already drawn; the result must look like the whole shape
    // drawn at once, at any panel size.
    void pressesDrawWhatTheWholeShapeDraws_data()
    {
        QTest::addColumn<int>("side");
        QTest::newRow("image size") << 258;
        QTest::newRow("enlarged") << 514;
        QTest::newRow("reduced") << 130;
    }
    void pressesDrawWhatTheWholeShapeDraws()
    {
        QFETCH(int, side);
        const QPolygonF polygon = zigzag(40, 30), line = zigzag(25, 150);
        auto pressed = panelOfSize(side);
        render(*pressed);
        for (int i = 0; i < std::max(polygon.size(), line.size()); ++i) {
            if (i < polygon.size())
                pressed->extendPolygon({polygon[i]});
            if (i < line.size())
                pressed->extendLine({line[i]});
            if (i % 7 == 0)
                render(*pressed);
        }
        auto whole = panelOfSize(side);
        whole->setOverlay({{polygon}, {line}, {}});
        const QImage expected = render(*whole), actual = render(*pressed);
        QCOMPARE(actual.size(), expected.size());
        // Where strokes cross, their soft edges may add up in another order: a few pixels.
        QVERIFY2(differingPixels(actual, expected) <= std::max(4, side * side / 10000),
                 qPrintable(QString::number(differingPixels(actual, expected))));
        // And something was drawn at all.
        auto empty = panelOfSize(side);
        QVERIFY(differingPixels(render(*empty), expected) > 100);
    }

    // The closing edge runs from the newest vertex back to the first.
    void closingEdgeFollowsTheLastVertex()
    {
        auto panel = panelOfSize(258);
        panel->setPolygon({QPolygonF{{20.5, 20.5}, {200.5, 20.5}, {200.5, 200.5}}});
        const QImage before = render(*panel);
        QVERIFY(near(before.pixelColor(at(*panel, {110.5, 110.5})), polygonColour));
        panel->extendPolygon({QPointF(20.5, 200.5)});
        const QImage after = render(*panel);
        QVERIFY(!near(after.pixelColor(at(*panel, {110.5, 110.5})), polygonColour));
        QVERIFY(near(after.pixelColor(at(*panel, {20.5, 110.5})), polygonColour));
        QVERIFY(near(after.pixelColor(at(*panel, {110.5, 200.5})), polygonColour));
    }

    // Undo hands the panel a shorter shape: the points it lost disappear.
    void shorterShapeForgetsItsPoints()
    {
        auto panel = panelOfSize(258);
        const QPolygonF line{{30.5, 30.5}, {120.5, 30.5}, {120.5, 220.5}};
        panel->setLine({line});
        QVERIFY(near(render(*panel).pixelColor(at(*panel, {120.5, 220.5})), lineColour));
        panel->setLine({line.first(2)});
        const QImage shorter = render(*panel);
        QCOMPARE(shorter.pixelColor(at(*panel, {120.5, 220.5})), QColor(0x20, 0x30, 0x40));
        QVERIFY(near(shorter.pixelColor(at(*panel, {75.5, 30.5})), lineColour));
    }

    // The selected entry's vertex gets a white ring; selecting another moves it.
    void highlightMovesWithoutRedrawingTheShape()
    {
        auto panel = panelOfSize(258);
        const QPolygonF polygon{{40.5, 40.5}, {200.5, 40.5}, {120.5, 200.5}};
        panel->setPolygon({polygon});
        const auto ringPixel = [&](QPointF vertex) {
            return render(*panel).pixelColor(at(*panel, vertex + QPointF(0, -4)));
        };
        const QColor white(Qt::white);
        QVERIFY(!near(ringPixel({200.5, 40.5}), white));
        panel->setPolygon({polygon, 1});
        QVERIFY(near(ringPixel({200.5, 40.5}), white));
        panel->setPolygon({polygon, 2});
        QVERIFY(!near(ringPixel({200.5, 40.5}), white));
        QVERIFY(near(ringPixel({120.5, 200.5}), white));
        // A mark past the end draws nothing and breaks nothing.
        panel->setOverlay({{polygon, 7}, {{}, 9}, {}});
        render(*panel);
    }
};

QTEST_MAIN(ImagePanelTest)
#include "image_panel_test.moc"
