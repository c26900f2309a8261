#include "window_driver.h"

#include <QDir>
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
    // marlith3 with the arguments, with no display and no platform plugin chosen, in the
    // test's folder.
    Run marlith3(const QStringList &arguments, const QStringList &variables = {})
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        for (const QString &variable : variables)
            env.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(folder.path());
        p.start(QStringLiteral(MARLITH3_PROGRAM), arguments);
        if (!p.waitForFinished(60000))
            return {-1, {}, QStringLiteral("did not finish")};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2,
                shown(p.readAllStandardOutput()), shown(p.readAllStandardError())};
    }
    // Output as the Linux build writes it. On Windows a pipe gets UTF-8 with CRLF line ends
    // and paths with backslashes, which become Qt's slashes here.
    static QString shown(const QByteArray &bytes)
    {
#ifdef Q_OS_WIN
        return QDir::fromNativeSeparators(QString::fromUtf8(bytes).remove(u'\r'));
#else
        return QString::fromLocal8Bit(bytes);
#endif
    }
    // A lake over three areas of cell 123, 120 and a road through it, as GeoJSON.
    QString lakeAndRoad()
    {
        const QString path = folder.filePath("lake.geojson");
        return writeFileBytes(path, R"({"type":"FeatureCollection","features":[
            {"type":"Feature","properties":{},"geometry":{"type":"Polygon","coordinates":
              [[[-122.316,47.505],[-122.296,47.505],[-122.296,47.515],[-122.316,47.505]]]}},
            {"type":"Feature","properties":{},"geometry":{"type":"LineString","coordinates":
              [[-122.31,47.50],[-122.30,47.51]]}}]})")
                   ? path
                   : QString();
    }
    QString saveWork(const QString &name)
    {
        desktop.saveAnswers = {folder.filePath(name)};
        window->mnusaveas_Click();
        return folder.filePath(name);
    }

private slots:
    void init()
    {
        QVERIFY(start());
    }
    void cleanup()
    {
        window.reset();
    }

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
        QVERIFY(writeFileBytes(out.filePath("LWMSource.asm"), "earlier"));
        const Run run = marlith3({"create", work, "--output-folder", out.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith("Run-time error '13': Type mismatch\n"), qPrintable(run.err));
        QCOMPARE(fileBytes(out.filePath("LWMSource.asm")), QByteArray("earlier"));
        QVERIFY(!QFile::exists(out.filePath("VTPSource.asm")));
    }

    // A slip on the command line is a usage error (2), a file that is not there a failure (1);
    // neither is ever a window without a display.
    void slipsAreUsageErrors()
    {
        QCOMPARE(marlith3({"--version"}).out, QStringLiteral("marlith3 " MARLITH_VERSION "\n"));
        const struct
        {
            QStringList arguments;
            int exitCode;
            const char *says;
        } cases[] = {
            {{"help"}, 2, "\u201chelp\u201d is no command; the commands are create, areas"},
            {{"crate", "work.marlith"}, 2, "\u201ccrate\u201d is no command"},
            {{"work.marlith", "other.marlith"}, 2, "the window opens one file at most"},
            {{"create", "--colour"}, 2, "marlith3 create: Unknown option 'colour'"},
            {{"areas", "--colour"}, 2, "marlith3 areas: Unknown option 'colour'"},
            {{"--no-such-option"}, 2, "Unknown option 'no-such-option'"},
            {{"create"}, 2, "marlith3 create: create takes one work file."},
            {{"create", "a", "b"}, 2, "marlith3 create: create takes one work file."},
            {{"create", "a.marlith", "--output-folder", ""}, 2, "--output-folder names no folder"},
            {{"areas", "--output-folder", "out"}, 2, "marlith3 areas: Name one shape file."},
            {{"create", "gone.marlith"}, 1, "There is no file"},
#ifndef Q_OS_WIN // where a desktop is always there to show the window on
            {{"work.marlith"}, 1, "there is no display to show the window on"},
#endif
        };
        for (const auto &c : cases) {
            const Run run = marlith3(c.arguments);
            QVERIFY2(run.exitCode == c.exitCode && run.err.contains(QString::fromUtf8(c.says)),
                     qPrintable(c.arguments.join(' ') + " gave " + QString::number(run.exitCode)
                                + ": " + run.err));
        }
        const Run top = marlith3({"--help"});
        QCOMPARE(top.exitCode, 0);
        QVERIFY2(top.out.startsWith("Usage: marlith3 [FILE]\n       marlith3 create WORKFILE")
                     && !top.out.contains("--help-all"),
                 qPrintable(top.out));
        for (const auto &[command, input] :
             {std::pair{"create", "WORKFILE"}, {"areas", "SHAPEFILE"}, {"osm", "EXTRACT"}}) {
            const Run help = marlith3({command, "--help"});
            QCOMPARE(help.exitCode, 0);
            QVERIFY2(help.out.startsWith(
                         QStringLiteral("Usage: marlith3 %1 [options] %2").arg(command, input)),
                     qPrintable(help.out));
            QVERIFY(help.out.contains("-h, --help"));
        }
    }

    // create writes only the lists that hold points; an earlier file of the other is kept.
    void createLeavesAnEmptyListsFileAlone()
    {
        calculateExample();
        for (int i = 0; i < 5; ++i)
            press(20 + i * 30, 40);
        click("cmdcreatelwm");
        const QString source = folder.filePath("LWM_123_120_2_27.asm");
        QVERIFY(QFile::rename(folder.filePath("LWMSource.asm"), source));
        click("cmdclearvtplist");
        const QString work = saveWork("lake only.marlith");
        for (const QString &input : {source, work}) {
            QTemporaryDir out;
            QVERIFY(writeFileBytes(out.filePath("VTPSource.asm"), "earlier"));
            const Run run = marlith3({"create", input, "--output-folder", out.path()});
            QCOMPARE(run.exitCode, 0);
            QCOMPARE(run.out, out.filePath("LWMSource.asm") + '\n');
            QCOMPARE(fileBytes(out.filePath("VTPSource.asm")), QByteArray("earlier"));
            QCOMPARE(run.err, QStringLiteral("VTPSource.asm was not written: %1 holds no VTP "
                                             "points; the earlier %2 is kept.\n")
                                  .arg(input, out.filePath("VTPSource.asm")));
        }
        click("cmdclearlwmlist");
        const QString empty = saveWork("empty.marlith");
        QTemporaryDir out;
        const Run run = marlith3({"create", empty, "--output-folder", out.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.endsWith("holds no VTP points.\nNothing was written.\n"),
                 qPrintable(run.err));
        QVERIFY(QDir(out.path()).isEmpty());
    }

    // An area file gives the list its first water polygon only: create says what it leaves out.
    void createNamesThePolygonsAnAreaFileLoses()
    {
        // A pond with an island, and the same outline as land alone.
        const QByteArray outline = "[[-122.3035,47.5055],[-122.2985,47.5055],[-122.2985,47.5085],"
                                   "[-122.3035,47.5085],[-122.3035,47.5055]]";
        const QByteArray island = ",[[-122.302,47.506],[-122.300,47.506],[-122.300,47.507],"
                                  "[-122.302,47.506]]";
        const struct
        {
            QByteArray rings;
            const char *fill;
            int exitCode;
            const char *says;
        } cases[] = {
            {outline + island, "water", 0,
             "/LWMSource.asm holds only the first water polygon of the 2 in "
             "areas/LWM_123_120_2_27.asm; the other one is left out "
             "(areas/LWM_123_120_2_27.asm itself holds them all).\n"},
            {outline, "land", 1,
             "LWMSource.asm was not written: areas/LWM_123_120_2_27.asm holds no LWM points, "
             "only 1 land polygon.\n"},
        };
        for (const auto &c : cases) {
            QDir(folder.filePath("areas")).removeRecursively();
            QVERIFY(writeFileBytes(folder.filePath("pond.geojson"),
                                   R"({"type":"Polygon","coordinates":[)" + c.rings + "]}"));
            QCOMPARE(
                marlith3({"areas", "pond.geojson", "--output-folder", "areas", "--fill", c.fill})
                    .exitCode,
                0);
            QTemporaryDir out;
            const Run run =
                marlith3({"create", "areas/LWM_123_120_2_27.asm", "--output-folder", out.path()});
            QVERIFY2(run.exitCode == c.exitCode && run.err.contains(QString::fromUtf8(c.says)),
                     qPrintable(QString::number(run.exitCode) + ": " + run.err));
        }
    }

    // A VTP file written without a line type is named on stderr, as the window names its own.
    void filesWithoutALineTypeAreNamed()
    {
        calculateExample();
        press(10, 10);
        press(60, 80);
        const QString work = saveWork("road.marlith");
        QTemporaryDir out;
        const Run create = marlith3({"create", work, "--output-folder", out.path()});
        QCOMPARE(create.exitCode, 0);
        QCOMPARE(create.err, out.filePath("VTPSource.asm")
                                 + " was written with the line type \"Select VTP "
                                   "Road/Line/Shoreline\", which names no line type of the "
                                   "catalogue: pick one in the window's VTP line type box (a "
                                   "quoted code such as \"1139\"), save the work file and "
                                   "create again.\n");

        const QString lake = lakeAndRoad();
        const Run areas = marlith3({"areas", lake, "--output-folder", out.path()});
        QCOMPARE(areas.exitCode, 0);
        QVERIFY2(areas.out.endsWith("1 VTP file names no line type of the catalogue (\"Select "
                                    "VTP Road/Line/Shoreline\"): pick one (a code such as "
                                    "1139) and write again.\n"),
                 qPrintable(areas.out));
        QCOMPARE(areas.err, QStringLiteral("marlith3 areas: VTP_123_120.asm was written with the "
                                           "line type \"Select VTP Road/Line/Shoreline\", which "
                                           "names no line type of the catalogue.\n"));
        const Run named =
            marlith3({"areas", lake, "--output-folder", out.path(), "--line-type", "1139"});
        QCOMPARE(named.exitCode, 0);
        QCOMPARE(named.err, QString());
        QVERIFY(!named.out.contains("line type"));
    }

    // Each message says where and why: the path as typed, the system's and GDAL's reasons.
    void messagesSayWhereAndWhy()
    {
        const QString lake = lakeAndRoad();
        QTemporaryDir out;
        QVERIFY(writeFileBytes(folder.filePath("a file"), "in the way"));
        // One feature larger than the limit GDAL's streaming reader of collections sets.
        QByteArray big = R"({"type":"FeatureCollection","features":[{"type":"Feature",)"
                         R"("properties":{},"geometry":{"type":"LineString","coordinates":[)";
        for (int i = 0; i < 100000; ++i)
            big += "[-122.3" + QByteArray::number(i) + ",47.5],";
        big += "[-122.3,47.6]]}}]}";
        QVERIFY(writeFileBytes(folder.filePath("big.geojson"), big));
        const struct
        {
            QStringList arguments, variables;
            int exitCode;
            const char *says;
        } cases[] = {
            {{"areas", "shapes/nope.geojson", "--output-folder", out.path()},
             {},
             1,
             "\u201cshapes/nope.geojson\u201d does not exist."},
            {{"areas", lake, "--output-folder", folder.filePath("a file/areas")},
             {},
             1,
             "cannot be made: Not a directory."},
            {{"areas", "big.geojson", "--output-folder", out.path()},
             {"OGR_GEOJSON_MAX_OBJ_SIZE=1"},
             1,
             "You may define the OGR_GEOJSON_MAX_OBJ_SIZE configuration option"},
            {{"areas", lake, "--output-folder", out.path(), "--altitude", "abc"},
             {},
             2,
             "marlith3 areas: The LWM altitude \u201cabc\u201d is no number of metres."},
            {{"osm", "x.osm", "--output-folder", out.path(), "--altitude", "nan"},
             {},
             2,
             "marlith3 osm: The LWM altitude \u201cnan\u201d is no number of metres."},
            {{"areas", lake, "--output-folder", out.path(), "--vtp-width", "inf"},
             {},
             2,
             "marlith3 areas: The VTP line width \u201cinf\u201d is no number."},
            {{"osm", "extracts/nope.osm.pbf", "--output-folder", out.path()},
             {},
             1,
             "\u201cextracts/nope.osm.pbf\u201d cannot be found."},
        };
        for (const auto &c : cases) {
            const Run run = marlith3(c.arguments, c.variables + QStringList{"LC_ALL=C"});
            QVERIFY2(run.exitCode == c.exitCode && run.err.contains(QString::fromUtf8(c.says)),
                     qPrintable(c.arguments.join(' ') + " gave " + QString::number(run.exitCode)
                                + ": " + run.err));
        }
        QVERIFY(QDir(out.path()).isEmpty());
    }
};

QTEST_MAIN(CliTest)
#include "cli_test.moc"
