#include "window_driver.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QUndoStack>

// Unsaved work is never lost without a question, and typed text obeys one rule.
class UnsavedTest : public QObject, WindowDriver
{
    Q_OBJECT

    bool closed()
    {
        window->close();
        return !window->isVisible();
    }

private slots:
    void init() { QVERIFY(start()); }
    void cleanup() { window.reset(); }

    void closingAsksOnlyWhenSomethingChanged()
    {
        QVERIFY(closed());
        QVERIFY(desktop.saveQuestions.isEmpty());

        QVERIFY(start());
        press(3, 4);
        QVERIFY(window->isWindowModified());
        desktop.saveChoices = {Desktop::SaveChoice::Cancel};
        QVERIFY(!closed());
        QCOMPARE(entries("lstLWM").size(), 1);
        desktop.saveChoices = {Desktop::SaveChoice::Discard};
        QVERIFY(closed());
        QCOMPARE(desktop.saveQuestions.size(), 2);
    }

    void saveFromTheQuestionKeepsTheWorkAndClears()
    {
        const std::function<void()> changes[] = {
            [&] { press(3, 4); },
            [&] { set("txtaltitude", "12"); },
            [&] { calculateExample(); },
            [&] { control<QComboBox>("cbolayer")->setEditText("9"); },
        };
        for (const auto &change : changes) {
            QVERIFY(start());
            change();
            QVERIFY(window->isWindowModified());
            // Save As cancelled: the work stays and the window stays open.
            desktop.saveChoices = {Desktop::SaveChoice::Save};
            QVERIFY(!closed());
            desktop.saveChoices = {Desktop::SaveChoice::Save};
            desktop.saveAnswers = {folder.filePath("kept")};
            QVERIFY(closed());
            QVERIFY(QFile::exists(folder.filePath("kept.marlith")));
            QVERIFY(!window->isWindowModified());
            QCOMPARE(window->windowTitle(), QStringLiteral(" Marlith3 - kept.marlith[*]"));
        }
    }

    void newStartsOverAfterTheQuestion()
    {
        calculateExample();
        press(3, 4);
        desktop.saveChoices = {Desktop::SaveChoice::Cancel, Desktop::SaveChoice::Discard};
        QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(entries("lstLWM").size(), 1);
        QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(entries("lstLWM").isEmpty());
        QCOMPARE(control<QLineEdit>("txtlatdeg")->text(), QStringLiteral("-00"));
        QVERIFY(control<QLabel>("lblcellx")->text().isEmpty());
        QCOMPARE(window->session().history()->count(), 0);
        QVERIFY(!window->isWindowModified());
        QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier); // nothing to ask now
        QCOMPARE(desktop.saveQuestions.size(), 2);
    }

    // The writers drop control characters too; here they never reach the work at all.
    void pastedControlCharactersNeverReachTheWork()
    {
        calculateExample();
        press(3, 4);
        auto *altitude = control<QLineEdit>("txtaltitude");
        QGuiApplication::clipboard()->setText(QStringLiteral("1\r\n2\t3\u0007"));
        altitude->selectAll();
        altitude->paste();
        QCOMPARE(window->session().text(Field::Altitude), QStringLiteral("12 3"));
        QCOMPARE(altitude->text(), QStringLiteral("12 3"));
        desktop.inputAnswers = {QStringLiteral("LWMPoint 9,\n 9")};
        window->lstLWM_DblClick();
        QCOMPARE(entries("lstLWM").last(), QStringLiteral("LWMPoint 9, 9"));
    }
};

QTEST_MAIN(UnsavedTest)
#include "unsaved_test.moc"
