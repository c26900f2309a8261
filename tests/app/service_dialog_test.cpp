#include "widgets/service_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

// The service dialogs on their own: what the keyboard does in them.
class ServiceDialogTest : public QObject
{
    Q_OBJECT

    static void type(ServiceDialog &dialog, const QString &text)
    {
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtserviceurl"));
        QTest::keyClicks(QApplication::focusWidget(), text);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }

private slots:
    void pasteAndReturnAddsTheServiceNamedAfterItsHost()
    {
        ServiceDialog dialog(nullptr);
        type(dialog, QStringLiteral("https://tiles.example.org/{z}/{x}/{-y}.png"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.service().name, QStringLiteral("tiles.example.org"));
        QCOMPARE(dialog.service().kind, ServiceKind::Tms);
    }

    void aRefusedAddressKeepsTheDialogOpenAndSaysWhy()
    {
        ServiceDialog dialog(nullptr);
        type(dialog, QStringLiteral("file:///srv/{z}/{x}/{y}.png"));
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.findChild<QLabel *>(QStringLiteral("lblserviceproblem"))
                    ->text()
                    .contains(QStringLiteral("\"file:\"")));
        dialog.findChild<QLineEdit *>(QStringLiteral("txtservicename"))
            ->setText(QStringLiteral("Mine"));
        QLineEdit *url = dialog.findChild<QLineEdit *>(QStringLiteral("txtserviceurl"));
        url->setText(QStringLiteral("http://127.0.0.1:8080/{z}/{x}/{y}"));
        QTest::keyClick(url, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.service().name, QStringLiteral("Mine"));
    }

    void removeTakesTheServiceOutOfTheList()
    {
        EditServicesDialog dialog(nullptr, presetServices());
        dialog.findChild<QListWidget *>(QStringLiteral("lstservices"))->setCurrentRow(0);
        dialog.findChild<QPushButton *>(QStringLiteral("cmdremoveservice"))->click();
        QCOMPARE(dialog.services(), QList<ImageryService>{presetServices().at(1)});
    }
};

QTEST_MAIN(ServiceDialogTest)
#include "service_dialog_test.moc"
