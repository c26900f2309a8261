#include "window_driver.h"

#include <QProcess>

// The command line's create runs without a display and writes what the window writes.
class CliTest : public QObject, public WindowDriver
{
    Q_OBJECT

    struct Run
    {
        int exitCode;
        QString out, err;
    };
    // marlith3 with the arguments, with no display and no platform plugin chosen.
    Run marlith3(const QStringList &arguments)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(MARLITH3_PROGRAM), arguments);
        if (!p.waitForFinished(60000))
            return {-1, {}, QStringLiteral("did not finish")};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2,
                QString::fromLocal8Bit(p.readAllStandardOutput()),
                QString::fromLocal8Bit(p.readAllStandardError())};
    }
    QString saveWork(const QString &name)
    {
        desktop.saveAnswers = {folder.filePath(name)};
        window->mnusaveas_Click();
        return folder.filePath(name);
    }

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { window.reset(); }

    void createWritesTheWindowsBytes()
    {
        calculateExample();
        for (int i = 0; i < 40; ++i)
            press(10 + i * 5, 200 - i * 4);
        control<QComboBox>("cbovtptype")->setEditText("\"1139\"  ;asphalt / 2 lanes");
        window->cmdcreatelwm_Click();
        window->cmdcreatevtp_Click();
        const QString work = saveWork("seattle.marlith");
        QTemporaryDir out;
        const Run run = marlith3({"create", work, "--output-folder", out.path()});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out,
                 out.filePath("LWMSource.asm") + '\n' + out.filePath("VTPSource.asm") + '\n');
        for (const char *name : {"LWMSource.asm", "VTPSource.asm"}) {
            QFile written(out.filePath(name));
            QVERIFY(written.open(QIODevice::ReadOnly));
            QCOMPARE(written.readAll(), file(name));
        }
    }

    void createStopsWhereTheWindowStops()
    {
        calculateExample();
        press(5, 5);
        set("txtlatdeg", "forty"); // typed after Calculate; the file opens all the same
        const QString work = saveWork("bad.marlith");
        QTemporaryDir out;
        QFile earlier(out.filePath("LWMSource.asm"));
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
        earlier.close();
        const Run run = marlith3({"create", work, "--output-folder", out.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith("Run-time error '13': Type mismatch\n"), qPrintable(run.err));
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier"));
        QVERIFY(!QFile::exists(out.filePath("VTPSource.asm")));
    }

    void answersUsageAndVersion()
    {
        QCOMPARE(marlith3({"--version"}).out, QStringLiteral("marlith3 " MARLITH_VERSION "\n"));
        QCOMPARE(marlith3({"create"}).exitCode, 2);
        QCOMPARE(marlith3({"create", "a", "b"}).exitCode, 2);
        QCOMPARE(marlith3({"--no-such-option"}).exitCode, 2);
        const Run missing = marlith3({"create", folder.filePath("gone.marlith")});
        QCOMPARE(missing.exitCode, 1);
        QVERIFY(missing.err.contains("There is no file"));
    }

    void areasRunsWithoutADisplay()
    {
        QTemporaryDir out;
        const Run help = marlith3({"areas", "--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.out.startsWith("Usage: marlith3 areas [options] SHAPEFILE"),
                 qPrintable(help.out));
        QCOMPARE(marlith3({"areas", folder.filePath("none.shp"), "--output-folder", out.path()})
                     .exitCode,
                 1);
        QCOMPARE(marlith3({"areas", "--output-folder", out.path()}).exitCode, 2);
    }
};

QTEST_MAIN(CliTest)
#include "cli_test.moc"
