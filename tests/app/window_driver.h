#pragma once

#include "app/mainwindow.h"
#include "fake_desktop.h"
#include "file_bytes.h"
#include "session/session.h"
#include "text/user_settings.h"
#include "widgets/point_list.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <tuple>

// The real main window on a scripted desktop, with the few moves the window tests make.
struct WindowDriver
{
    FakeDesktop desktop;
    std::unique_ptr<MainWindow> window;
    QTemporaryDir folder;

    // A fresh window in an empty program folder; false if it never showed.
    bool start()
    {
        desktop = FakeDesktop();
        desktop.folder = folder.path();
        QFile::remove(folder.filePath("LWMSource.asm"));
        QFile::remove(folder.filePath("VTPSource.asm"));
        // The dialogs' folders of an earlier test, or of the user, stay out.
        QSettings::setPath(userSettingsFormat(), QSettings::UserScope, folder.filePath("settings"));
        userSettings()->remove(QStringLiteral("dialogFolders"));
        window = std::make_unique<MainWindow>(desktop);
        window->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    template <typename T = QWidget>
    T *control(const char *name)
    {
        T *w = window->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    // The passing message of the status line, whole.
    QString message() { return control<QLabel>("messageStatus")->text(); }
    QStringList entries(const char *list) { return control<PointList>(list)->entries(); }
    // Both lists and both counters: what a press changes and a refusal must keep.
    using Lists = std::tuple<QStringList, QStringList, QString, QString>;
    Lists lists()
    {
        return {entries("lstLWM"), entries("lstVTP"), control<QLineEdit>("txtlwmnumber")->text(),
                control<QLineEdit>("txtvtpnumber")->text()};
    }
    void set(const char *name, const QString &text) { control<QLineEdit>(name)->setText(text); }
    void click(const char *button) { QTest::mouseClick(control(button), Qt::LeftButton); }
    void trigger(const char *action) { control<QAction>(action)->trigger(); }
    void createBoth()
    {
        click("cmdcreatelwm");
        click("cmdcreatevtp");
    }
    // Replaces a field's text by keys, as a user would, so that the binding is what carries it.
    void type(const char *name, const QString &text)
    {
        auto *field = control<QLineEdit>(name);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    // A position typed and calculated.
    void calculate(const QString &latDeg, const QString &latMin, const QString &lngDeg,
                   const QString &lngMin)
    {
        type("txtlatdeg", latDeg);
        type("txtlatmin", latMin);
        type("txtlongdeg", lngDeg);
        type("txtlongmin", lngMin);
        click("cmdcalculate");
    }
    // The position of the worked example, set and calculated.
    void calculateExample()
    {
        set("txtlatdeg", "47");
        set("txtlatmin", "30.50");
        set("txtlongdeg", "-122");
        set("txtlongmin", "18.25");
        click("cmdcalculate");
    }
    // Where an image pixel lies on the panel: a 255 x 255 inner area, one unit of border.
    static QPoint panelPoint(int px, int py)
    {
        return QPoint(1 + px * 255 / 256 + (px > 0), 1 + py * 255 / 256 + (py > 0));
    }
    void press(int px, int py, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(control("Picture1"), button, {}, panelPoint(px, py));
    }
    static void doubleClickRow(PointList *list, int row)
    {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(row).center());
    }
    QByteArray file(const QString &name) { return fileBytes(folder.filePath(name)); }
};
