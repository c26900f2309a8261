#include "widgets/desktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Once the question shows, notes the access keys of its buttons and presses `key` (with Alt
// for a letter, as a user reaches a button without the mouse). A question the key leaves
// open is cancelled, and `leftOpen` says so.
void whenAsked(Qt::Key key, QList<int> *buttonKeys, bool *leftOpen)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, key, buttonKeys, leftOpen] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box || !box->isVisible())
            return;
        // Access keys reach the active window only, which a test's platform does not pick.
        if (QApplication::activeWindow() != box)
            return box->activateWindow();
        timer->deleteLater();
        timer->stop();
        for (QAbstractButton *button : box->findChildren<QAbstractButton *>()) {
            if (button->isVisible())
                *buttonKeys << QKeySequence::mnemonic(button->text())[0].toCombined();
        }
        // A prompt gets an answer typed or picked first.
        if (qobject_cast<QInputDialog *>(box) && key != Qt::Key_Escape)
            QTest::keyClicks(box->focusWidget(), QStringLiteral("Lake"));
        QTest::keyClick(box, key, key == Qt::Key_Escape ? Qt::NoModifier : Qt::AltModifier);
        QTimer::singleShot(2000, box, [box, leftOpen] {
            *leftOpen = true;
            qobject_cast<QDialog *>(box)->reject();
        });
    });
    timer->start();
}

} // namespace

// The real desktop's launcher: xdg-open is there even when no browser answers it.
class QtDesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void aLauncherThatGivesUpIsReported()
    {
#if !defined(Q_OS_UNIX) || defined(Q_OS_MACOS)
        QSKIP("xdg-open is the launcher of X11 and Wayland desktops");
#endif
        QTemporaryDir bin;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toLocal8Bit() + ':' + path);
        QtDesktop desktop(ProgramLayout::Portable);
        // The exit status xdg-open gives, and the URL it was handed.
        for (const int status : {0, 3}) {
            QFile launcher(bin.filePath("xdg-open"));
            QVERIFY(launcher.open(QIODevice::WriteOnly));
            launcher.write(QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\nexit %2\n")
                               .arg(bin.filePath("url"))
                               .arg(status)
                               .toLocal8Bit());
            launcher.close();
            QVERIFY(
                launcher.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            QFile::remove(bin.filePath("url"));
            int failures = 0;
            QVERIFY(desktop.openDocument(bin.filePath("Help file.htm"), [&] { ++failures; }));
            QTRY_VERIFY(QFile::exists(bin.filePath("url")));
            QTest::qWait(200);
            QTRY_COMPARE(failures, status == 0 ? 0 : 1);
            QFile url(bin.filePath("url"));
            QVERIFY(url.open(QIODevice::ReadOnly));
            QCOMPARE(url.readAll(), QUrl::fromLocalFile(bin.filePath("Help file.htm")).toEncoded());
        }
        qputenv("PATH", path);
    }

    // Windows users answer a question from the keyboard: every button has an access key of
    // its own, the key gives that button's answer, and Escape cancels.
    void everyButtonOfAQuestionHasItsOwnKey()
    {
        QtDesktop desktop(ProgramLayout::Portable);
        using Save = Desktop::SaveChoice;
        using Keep = Desktop::KeepChoice;
        struct Case
        {
            const char *question;
            std::function<QString()> ask;
            QList<std::pair<Qt::Key, QString>> answers;
        };
        const auto text = [](auto choice) { return QString::number(int(choice)); };
        const QList<Case> cases{
            {"save",
             [&] { return text(desktop.askToSave(nullptr, "Save the changes?")); },
             {{Qt::Key_S, text(Save::Save)},
              {Qt::Key_D, text(Save::Discard)},
              {Qt::Key_C, text(Save::Cancel)},
              {Qt::Key_Escape, text(Save::Cancel)}}},
            {"keep or clear",
             [&] { return text(desktop.askKeepOrClear(nullptr, "Keep?", "C&lear LWM List")); },
             {{Qt::Key_K, text(Keep::Keep)},
              {Qt::Key_L, text(Keep::Clear)},
              {Qt::Key_C, text(Keep::Cancel)},
              {Qt::Key_Escape, text(Keep::Cancel)}}},
            {"pick",
             [&] {
                 const std::optional<int> pick =
                     desktop.chooseItem(nullptr, "Which line?", {"Road", "Lake"});
                 return pick ? QString::number(*pick) : QStringLiteral("none");
             },
             {{Qt::Key_O, "1"}, {Qt::Key_C, "none"}, {Qt::Key_Escape, "none"}}},
            {"input",
             [&] { return desktop.inputBox(nullptr, "Value to insert", "Marlith"); },
             {{Qt::Key_O, "Lake"}, {Qt::Key_C, ""}, {Qt::Key_Escape, ""}}},
        };
        for (const Case &c : cases) {
            for (const auto &[key, expected] : c.answers) {
                QList<int> keys;
                bool leftOpen = false;
                whenAsked(key, &keys, &leftOpen);
                QCOMPARE(c.ask(), expected);
                QVERIFY2(!leftOpen, c.question);
                const QSet<int> distinct(keys.begin(), keys.end());
                QVERIFY2(!keys.contains(0) && distinct.size() == keys.size(), c.question);
            }
        }
    }
};

QTEST_MAIN(QtDesktopTest)
#include "qt_desktop_test.moc"
