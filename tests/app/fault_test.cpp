#include "canvas/picture_loader.h"
#include "text/runtime_error.h"
#include "widgets/image_panel.h"
#include "window_driver.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>

// Faults from outside: folders and files that cannot be written, a full disk, broken pictures
// and extreme input. The program must go on, say what went wrong and keep every entry.
class FaultTest : public QObject, WindowDriver
{
    Q_OBJECT

    static QString report(RuntimeError::Number n)
    {
        return RuntimeError(n).text(RuntimeError::Shown::Box);
    }
    QStringList messageTexts()
    {
        QStringList texts;
        for (const auto &m : desktop.messages)
            texts << m.text;
        return texts;
    }
    // A file's bytes, told apart from no file at all.
    static QByteArray read(const QString &path)
    {
        return QFileInfo::exists(path) ? fileBytes(path) : QByteArray("<none>");
    }
    // Create into a folder that cannot take the files: both fail with error 75, whatever
    // the folder held stays as it was, and so do the lists.
    void expectCreateFailsIn(const QString &dir)
    {
        window->session().setOutputFolder(dir);
        const auto contents = [&dir] {
            QStringList all;
            for (const QString &name : QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
                all << name + QLatin1Char('=')
                           + QString::fromLatin1(fileBytes(dir + '/' + name).toHex());
            return all;
        };
        const QStringList before = contents();
        const Lists kept = lists();
        desktop.messages.clear();
        createBoth();
        QCOMPARE(messageTexts(), QStringList(2, report(RuntimeError::PathFileAccess)));
        QCOMPARE(lists(), kept);
        QCOMPARE(contents(), before);
    }
    // A folder set up by the test wrapper, which owns small file systems of its own.
    QString preparedFolder(const char *variable)
    {
        const QString dir = qEnvironmentVariable(variable);
        return QFileInfo(dir).isDir() ? dir : QString();
    }

private slots:
    void init()
    {
        QVERIFY(start());
        calculateExample();
        for (int i = 0; i < 3; ++i)
            press(20 * i, 30 + i);
    }
    void cleanup() { window.reset(); }

    // A read-only file left by a good Create, and a folder where the other file should be.
    void readOnlyFileAndAFolderInTheWay()
    {
        createBoth();
        QVERIFY(desktop.messages.empty());
        QVERIFY(QFile::setPermissions(folder.filePath("LWMSource.asm"), QFile::ReadOwner));
        QVERIFY(QFile::remove(folder.filePath("VTPSource.asm")));
        QVERIFY(QDir(folder.path()).mkdir("VTPSource.asm"));
        press(200, 200);
        expectCreateFailsIn(folder.path());
        QVERIFY(QFileInfo(folder.filePath("VTPSource.asm")).isDir());
        QVERIFY(QDir(folder.filePath("VTPSource.asm")).removeRecursively());
        // Windows refuses to delete a read-only file, which the next test's start does.
        QVERIFY(QFile::setPermissions(folder.filePath("LWMSource.asm"),
                                      QFile::ReadOwner | QFile::WriteOwner));
    }

    void readOnlyProgramFolder()
    {
        const QString dir = preparedFolder("MARLITH_READONLY_FOLDER");
        if (dir.isEmpty())
            QSKIP("needs the read-only file system of tests/app/with_small_disks");
        expectCreateFailsIn(dir);
    }

    void fullDisk()
    {
        const QString dir = preparedFolder("MARLITH_FULL_FOLDER");
        if (dir.isEmpty())
            QSKIP("needs the full file system of tests/app/with_small_disks");
        // Many entries (counts the files can still hold), so that the text cannot hide in what
        // little space may be left.
        for (int i = 0; i < 150; ++i)
            press(i % 250, i % 200);
        expectCreateFailsIn(dir);
    }

    // A work file that cannot be saved: one message, and the earlier file stays as it was.
    void failedWorkFileSavesKeepTheEarlierFile()
    {
        QVERIFY(QDir(folder.path()).mkdir("folder.marlith"));
        QVERIFY(writeFileBytes(folder.filePath("readonly.marlith"), "earlier"));
        QVERIFY(QFile::setPermissions(folder.filePath("readonly.marlith"), QFile::ReadOwner));
        QStringList targets{folder.filePath("folder.marlith"), folder.filePath("readonly.marlith")};
        for (const char *variable : {"MARLITH_READONLY_FOLDER", "MARLITH_FULL_FOLDER"}) {
            if (const QString dir = preparedFolder(variable); !dir.isEmpty())
                targets << dir + QStringLiteral("/earlier.marlith");
        }
        // More than the little space a full disk may have left.
        for (int i = 0; i < 150; ++i)
            press(i % 250, i % 200);
        for (const QString &path : targets) {
            const QByteArray before = read(path);
            desktop.messages.clear();
            desktop.saveAnswers = {path};
            window->mnusaveas_Click();
            QCOMPARE(desktop.messages.size(), size_t(1));
            QVERIFY2(desktop.messages.front().text.startsWith("The work was not saved to"),
                     qPrintable(desktop.messages.front().text));
            QCOMPARE(read(path), before);
        }
        QCOMPARE(entries("lstLWM").size(), 153);
    }

    // Content decides which pictures show, never the name; one that fails to load, or a
    // cancelled dialog, leaves what was shown, and none of it brings up a message.
    void brokenAndMislabelledPictures()
    {
        auto *panel = control<ImagePanel>("Picture1");
        desktop.fileAnswers = {std::nullopt};
        click("cmdload");
        QVERIFY(panel->picture().isNull());
        QCOMPARE(desktop.lastFilter, imageDialogFilter());

        QImage good(256, 256, QImage::Format_RGB32);
        good.fill(Qt::darkCyan);
        QByteArray png, jpg, bmp;
        for (auto [format, bytes] : {std::pair{"PNG", &png}, {"JPG", &jpg}, {"BMP", &bmp}}) {
            QBuffer buffer(bytes);
            QVERIFY(buffer.open(QIODevice::WriteOnly));
            QVERIFY(good.save(&buffer, format));
        }
        // Qt reads GIF but does not write it: a 1 x 1 picture made by hand.
        const QByteArray gif = QByteArray::fromHex(
            "47494638396101000100800000ffffff0000002c0000000001000100000202440100"
            "3b");
        const QList<std::tuple<const char *, QByteArray, QSize>> shown = {
            {"tiny.gif", gif, {1, 1}},     {"good.jpg", jpg, {256, 256}},
            {"png.bmp", png, {256, 256}},  {"jpeg.gif", jpg, {256, 256}},
            {"good.bmp", bmp, {256, 256}},
        };
        for (const auto &[name, bytes, size] : shown) {
            QVERIFY(writeFileBytes(folder.filePath(name), bytes));
            panel->setPicture(QImage());
            desktop.fileAnswers = {folder.filePath(name)};
            click("cmdload");
            QVERIFY2(panel->picture().size() == size, name);
        }
        // Cut short, emptied or headers only: never a crash, and a picture that fails to load
        // leaves the earlier one.
        const QList<std::pair<const char *, QByteArray>> broken = {
            {"half.jpg", jpg.left(jpg.size() / 2)},
            {"header.jpg", jpg.left(20)},
            {"half.bmp", bmp.left(bmp.size() / 2)},
            {"header.bmp", bmp.left(54)},
            {"empty.gif", {}},
            {"gif.gif", "GIF89a\x10\x00\x10\x00"},
        };
        for (const auto &[name, bytes] : broken) {
            QVERIFY(writeFileBytes(folder.filePath(name), bytes));
            desktop.fileAnswers = {folder.filePath(name)};
            click("cmdload");
            QVERIFY2(!panel->picture().isNull(), name);
        }
        // Words, or a file that is gone, leave the very picture shown.
        const QImage before = panel->picture();
        QVERIFY(writeFileBytes(folder.filePath("words.jpg"), "not a picture at all"));
        desktop.fileAnswers = {folder.filePath("words.jpg"), folder.filePath("missing.bmp")};
        click("cmdload");
        click("cmdload");
        QCOMPARE(panel->picture(), before);
        QVERIFY(desktop.messages.empty());
        QCOMPARE(entries("lstLWM").size(), 3);
    }

    void hundredThousandPointsThenCreate()
    {
        QElapsedTimer timer;
        timer.start();
        for (int i = 3; i < 100000; ++i)
            press(i % 256, (i / 256) % 256);
        qInfo("100 000 presses: %lld ms", qint64(timer.elapsed()));
        QCOMPARE(entries("lstLWM").size(), 100000);
        QCOMPARE(control<QLineEdit>("txtlwmnumber")->text(), QStringLiteral("100000"));

        // The counts go into the files as bytes: too many points is reported, nothing written.
        const Lists kept = lists();
        createBoth();
        QCOMPARE(messageTexts(), QStringList(2, report(RuntimeError::Overflow)));
        QVERIFY2(!QFileInfo::exists(folder.filePath("LWMSource.asm")),
                 qPrintable(file("LWMSource.asm").left(200)));
        QCOMPARE(lists(), kept);

        // With counts the files can hold, every entry is written.
        desktop.messages.clear();
        set("txtlwmnumber", "200");
        set("txtvtpnumber", "30");
        timer.restart();
        createBoth();
        qInfo("Create both with 100 000 entries each: %lld ms", qint64(timer.elapsed()));
        QVERIFY(desktop.messages.empty());
        const QByteArray lwm = file("LWMSource.asm"), vtp = file("VTPSource.asm");
        QCOMPARE(lwm.count("\r\nLWMPoint "), 100000);
        QCOMPARE(vtp.count("\r\nVTPWidePoint "), 100002);
        QCOMPARE(lwm.count('\n'), lwm.count("\r\n"));
        QVERIFY(lwm.endsWith("\r\n"));
    }

    void entriesOfAHundredThousandCharacters()
    {
        const QString lwmEntry =
            QStringLiteral("LWMPoint 1, 2") + QString(100000, QLatin1Char('7'));
        const QString vtpEntry = QString(100000, QLatin1Char('x'));
        desktop.inputAnswers = {lwmEntry, vtpEntry};
        control<PointList>("lstLWM")->selectRow(1);
        QTest::keyClick(control("lstLWM"), Qt::Key_Insert);
        control<PointList>("lstVTP")->selectRow(-1);
        QTest::keyClick(control("lstVTP"), Qt::Key_Insert);
        QCOMPARE(entries("lstLWM").at(1), lwmEntry);
        QCOMPARE(entries("lstVTP").back(), vtpEntry);

        // The moves and presses over the overlay go on as before.
        QTest::mouseMove(control("Picture1"), QPoint(40, 40));
        press(40, 40);
        set("txtvtpnumber", "4");
        createBoth();
        QVERIFY2(desktop.messages.empty(), qPrintable(messageTexts().join(u'\n')));
        QVERIFY(file("LWMSource.asm").contains("\r\n" + lwmEntry.toLatin1() + "\r\n"));
        // The last VTP entry is the press; the long one stands before it, as typed.
        QVERIFY(file("VTPSource.asm").contains("\r\n" + vtpEntry.toLatin1() + "\r\n"));
    }
};

QTEST_MAIN(FaultTest)
#include "fault_test.moc"
