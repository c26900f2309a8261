#include "test_rasters.h"
#include "widgets/image_panel.h"
#include "window_driver.h"

#include <QLabel>
#include <QStatusBar>
#include <QtTest>

// Georeferenced images through the real window: cut on load, cut again on Calculate.
class ImageryTest : public QObject, WindowDriver
{
    Q_OBJECT

    ImagePanel *panel() { return control<ImagePanel>("Picture1"); }
    void load(const QString &path)
    {
        desktop.fileAnswers = {path};
        click("cmdload");
    }
    // Until no cut runs any more: the busy cursor goes with the last one.
    bool cutsDone()
    {
        return QTest::qWaitFor([] { return !QApplication::overrideCursor(); });
    }
    // A ramp from the example's area eastwards over the next one as well.
    QString rampRaster()
    {
        RampRaster raster;
        raster.extent = {-8, -8, 530, 271};
        return writeRampRaster(folder.filePath("ramp.tif"), {123, 120, 2, 27}, raster);
    }
    QString plainPicture()
    {
        const QString path = folder.filePath("plain.png");
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        picture.save(path);
        return path;
    }

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { window.reset(); }

    void theAreaIsCutOnCalculateAndAgainForTheNextArea()
    {
        load(rampRaster());
        QCOMPARE(message(), QStringLiteral("ramp.tif is georeferenced: Calculate will place it."));

        calculateExample();
        QVERIFY(cutsDone());
        QCOMPARE(panel()->picture().size(), QSize(256, 256));
        QCOMPARE(qRed(panel()->picture().pixel(0, 128)), rampFromNear(0));
        QCOMPARE(qGreen(panel()->picture().pixel(255, 128)), rampFromFar(255));
        QVERIFY2(message().endsWith(QStringLiteral("covers 100 %.")), qPrintable(message()));

        // One area east: its first column is the last one of the area before.
        set("txtlongmin", "17.37");
        click("cmdcalculate");
        QCOMPARE(control<QLabel>("lblareax")->text(), QStringLiteral("3"));
        QVERIFY(cutsDone());
        QCOMPARE(qGreen(panel()->picture().pixel(0, 128)), rampFromFar(255));
        QCOMPARE(qRed(panel()->picture().pixel(0, 128)), rampFromNear(255));
        QVERIFY(desktop.messages.empty());
    }

    // A plain image is shown as it is and never cut; loaded after a cut, or while one runs,
    // it replaces the cut picture.
    void aPlainImageIsShownAsItIsAndNeverCut()
    {
        calculateExample();
        for (bool cutFirst : {true, false}) {
            load(rampRaster());
            if (cutFirst)
                QVERIFY(cutsDone());
            load(plainPicture());
            QVERIFY(cutsDone());
            QCOMPARE(panel()->picture().size(), QSize(40, 30));
        }
        click("cmdcalculate");
        QVERIFY(cutsDone());
        QCOMPARE(panel()->picture().size(), QSize(40, 30));
    }

    // Only the newest cut may paint: twenty Calculates in a row end on the last area.
    void manyCalculatesShowOnlyTheLastArea()
    {
        load(rampRaster());
        calculateExample();
        for (int i = 0; i < 20; ++i) {
            set("txtlongmin", i % 2 ? "18.25" : "17.37");
            click("cmdcalculate");
        }
        QVERIFY(cutsDone());
        QCOMPARE(control<QLabel>("lblareax")->text(), QStringLiteral("2"));
        QCOMPARE(qRed(panel()->picture().pixel(0, 128)), rampFromNear(0));
    }

    void closingOrUndoingWhileACutRunsIsSafe()
    {
        load(rampRaster());
        calculateExample();
        desktop.saveAnswers = {folder.filePath("cut.marlith")};
        window->mnusaveas_Click();
        QVERIFY(cutsDone());
        QVERIFY(start());
        desktop.fileAnswers = {folder.filePath("cut.marlith")};
        window->mnuopen_Click(); // reopens the image as Load does: a cut, off this thread
        QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(cutsDone());
        QVERIFY(panel()->picture().isNull());
        QVERIFY(window->session().imageSource().path.isEmpty());

        QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
        window.reset(); // the window goes while its cut still runs
        QVERIFY(cutsDone());
    }

    void aFileThatCannotBePlacedChangesNothingButTheStatusLine()
    {
        load(plainPicture());
        calculateExample();
        press(10, 20);
        const QString png = folder.filePath("broken.png");
        QFile::copy(folder.filePath("plain.png"), png);
        writeText(folder.filePath("broken.pgw"), "0.0001\n0\n");
        load(png);
        QVERIFY(cutsDone());
        QCOMPARE(message(), QStringLiteral("The world file broken.pgw cannot be used: it needs six "
                                           "numbers and a pixel size other than zero."));
        QCOMPARE(panel()->picture().size(), QSize(40, 30));
        QCOMPARE(entries("lstLWM"), QStringList{"LWMPoint 10, 20"});
        QCOMPARE(control<QLabel>("lblareax")->text(), QStringLiteral("2"));
        QVERIFY(desktop.messages.empty());
    }
};

QTEST_MAIN(ImageryTest)
#include "imagery_test.moc"
