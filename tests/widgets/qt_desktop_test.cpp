#include "widgets/desktop.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

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
};

QTEST_MAIN(QtDesktopTest)
#include "qt_desktop_test.moc"
