#include "session/typing_hints.h"
#include "widgets/eliding_label.h"
#include "window_driver.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QtTest>

// Where the window says what a new user would otherwise miss: a line type or minutes that
// are most likely slips, messages too long for the line, and dialogs that start where the
// user's files are.
class GuidanceTest : public QObject, WindowDriver
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { window.reset(); }

    void createVtpWritesAnyLineTypeButNamesOneOutsideTheCatalogue()
    {
        click("cmdcreatevtp");
        QVERIFY(
            file("VTPSource.asm").contains("VTPTextureName Select VTP Road/Line/Shoreline\r\n"));
        QVERIFY(message().startsWith(lineTypeHint("Select VTP Road/Line/Shoreline")));

        window->findChild<QLabel *>("messageStatus")->clear();
        auto *type = control<QComboBox>("cbovtptype");
        type->setCurrentIndex(type->findText("\"1139\"  ;asphalt / 2 lanes"));
        click("cmdcreatevtp");
        QVERIFY(message().startsWith("Wrote ") && !message().contains("catalogue"));
        QVERIFY(desktop.messages.empty());
    }

    void minutesOutOfRangeCalculateAsBeforeAndAreNamed()
    {
        set("txtlatdeg", "47");
        set("txtlatmin", "75.5");
        set("txtlongdeg", "-122");
        set("txtlongmin", "18.25");
        click("cmdcalculate");
        QCOMPARE(control<QLabel>("lbllatdd")->text(), QStringLiteral("48.2583333333333"));
        QVERIFY2(message().startsWith("The latitude minutes 75.5 are outside 0 to 60: Calculate "
                                      "took the position N 48° 15.500'"),
                 qPrintable(message()));
        set("txtlatmin", "30.50");
        click("cmdcalculate");
        QCOMPARE(message(), QStringLiteral("The latitude minutes 75.5 are outside 0 to 60: "
                                           "Calculate took the position N 48° 15.500', W 122° "
                                           "18.250' (48.2583333, -122.3041667)."));
    }

    // Each dialog opens where its last file was, also in the next run; the first time where
    // it always did.
    void eachFileDialogOpensInItsLastFolder()
    {
        calculateExample();
        for (int i = 0; i < 3; ++i)
            press(10 * i, 20 * i);
        QTemporaryDir other;
        const struct
        {
            const char *action;
            bool saves;
            QString chosen;
        } dialogs[] = {
            {"cmdload", false, other.filePath("pictures/a.bmp")},
            {"mnuopen", false, other.filePath("work/a.marlith")},
            {"mnusaveas", true, folder.filePath("saved/a.marlith")},
            {"mnuimport", false, other.filePath("tracks/a.gpx")},
            {"mnuexport", true, folder.filePath("export/a.geojson")},
        };
        QVERIFY(QDir(folder.path()).mkpath("saved") && QDir(folder.path()).mkpath("export"));
        const auto open = [this](const char *action) {
            action[0] == 'c' ? click(action) : trigger(action);
        };
        for (const auto &d : dialogs) {
            (d.saves ? desktop.saveAnswers : desktop.fileAnswers).push_back(d.chosen);
            open(d.action);
            QCOMPARE(d.saves ? desktop.lastSaveFolder : desktop.lastFolder, QString());
        }
        window.reset();
        QSettings::setPath(userSettingsFormat(), QSettings::UserScope, folder.filePath("settings"));
        window = std::make_unique<MainWindow>(desktop);
        calculateExample();
        for (int i = 0; i < 3; ++i)
            press(10 * i, 20 * i);
        for (const auto &d : dialogs) {
            open(d.action);
            QCOMPARE(d.saves ? desktop.lastSaveFolder : desktop.lastFolder,
                     QFileInfo(d.chosen).absolutePath());
        }
    }

    // Too long for the line, a message is elided, whole in its tooltip and in the log; the
    // message part never runs into the place part.
    void longMessagesAreElidedAndLogged()
    {
        set("txtlatmin", "75.5");
        click("cmdcalculate");
        click("cmdcreatevtp");
        auto *shown = control<ElidingLabel>("messageStatus");
        QWidget *place = control("placeStatus");
        QVERIFY(shown->isElided());
        // The warning comes first and stays; the path after it is what is cut.
        QVERIFY2(shown->shownText().startsWith("VTPSource.asm was written with the line type "
                                               "\"Select VTP Road/Line/Shoreline\", which names "
                                               "no line type"),
                 qPrintable(shown->shownText()));
        QVERIFY(message().endsWith("VTPSource.asm."));
        QVERIFY(!shown->geometry().intersects(place->geometry()));
        QVERIFY(window->statusBar()->rect().contains(place->geometry()));
        QVERIFY(shown->width() > window->width() / 2);

        trigger("mnumessages");
        auto *log = control<QPlainTextEdit>("messageLog");
        QVERIFY(log->isVisible());
        const QStringList lines = log->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].contains(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d  The latitude")));
        QVERIFY(lines[1].endsWith(message()));
        // It opens at the newest message, from its start, wrapped; and follows new ones.
        QCOMPARE(log->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(log->horizontalScrollBar()->value(), 0);
        QCOMPARE(log->textCursor().block(), log->document()->lastBlock());
        QCOMPARE(log->textCursor().positionInBlock(), 0);
        for (int i = 0; i < 40; ++i)
            click("cmdcreatevtp");
        QCOMPARE(log->verticalScrollBar()->value(), log->verticalScrollBar()->maximum());
        QVERIFY(log->verticalScrollBar()->maximum() > 0);
        QVERIFY(log->viewport()->rect().contains(log->cursorRect().center()));
    }
};

QTEST_MAIN(GuidanceTest)
#include "guidance_test.moc"
