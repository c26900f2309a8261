#include "window_driver.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

class WindowTest : public QObject, WindowDriver
{
    Q_OBJECT

private:
    QString text(const char *name)
    {
        QWidget *w = control(name);
        if (auto *l = qobject_cast<QLabel *>(w))
            return l->text();
        if (auto *e = qobject_cast<QLineEdit *>(w))
            return e->text();
        if (auto *c = qobject_cast<QComboBox *>(w))
            return c->currentText();
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            return b->text();
        return QStringLiteral("<no text>");
    }

private slots:
    void init() { QVERIFY(start()); }

    // Up and Down on a combo box step from its current item; the start text decides which.
    void comboBoxesStepFromTheirStartText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("line type Down") << "cbovtptype" << int(Qt::Key_Down) << ";Stream Lines";
        QTest::newRow("layer Down") << "cbolayer" << int(Qt::Key_Down) << "9";
        QTest::newRow("layer Up") << "cbolayer" << int(Qt::Key_Up) << "7";
    }
    void comboBoxesStepFromTheirStartText()
    {
        QFETCH(QString, name);
        QFETCH(int, key);
        QFETCH(QString, expected);
        auto *combo = control<QComboBox>(qPrintable(name));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key(key));
        QCOMPARE(combo->currentText(), expected);
    }

    void cleanup() { window.reset(); }

    // Each control shows its text of the session and hands back what is typed into it, through
    // typing, Calculate, Save, New, Open and the Undo of Open.
    void controlsAndSessionAgreeEveryWay()
    {
        // In the order of the session's fields.
        const char *bound[] = {"txtlatdeg",    "txtlatmin",    "txtlongdeg",      "txtlongmin",
                               "txtaltitude",  "cbovtptype",   "txtvtplinewidth", "cbolayer",
                               "txtlwmnumber", "txtvtpnumber", "lbllatdd",        "lbllongdd",
                               "lblcellx",     "lblcelly",     "lblareax",        "lblareay"};
        const auto shownAndHeld = [&] {
            std::pair<QStringList, QStringList> texts;
            for (std::size_t i = 0; i < std::size(bound); ++i) {
                texts.first << text(bound[i]);
                texts.second << window->session().text(Field(i));
            }
            return texts;
        };
        const auto empty = shownAndHeld();
        QCOMPARE(empty.first, empty.second);

        // Every typed text by keys, the combo boxes' too; the captions by Calculate.
        const char *typed[] = {"47",       "30.50", "-122", "18.25", "120",
                               "\"1139\"", "3",     "12",   "4",     "6"};
        for (std::size_t i = 0; i < std::size(typed); ++i) {
            QWidget *field = control(bound[i]);
            if (auto *box = qobject_cast<QComboBox *>(field))
                field = box->lineEdit();
            static_cast<QLineEdit *>(field)->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            QTest::keyClicks(field, QString::fromUtf8(typed[i]));
            QCOMPARE(window->session().text(Field(i)), QString::fromUtf8(typed[i]));
        }
        QVERIFY(window->isWindowModified());
        click("cmdcalculate");
        const auto worked = shownAndHeld();
        QCOMPARE(worked.first, worked.second);
        for (std::size_t i = 0; i < std::size(bound); ++i)
            QVERIFY2(worked.first[i] != empty.first[i], bound[i]);

        desktop.saveAnswers = {folder.filePath("bound")};
        window->mnusaveas_Click();
        window->mnunew_Click();
        QCOMPARE(shownAndHeld(), empty);
        window->openWorkOrSource(folder.filePath("bound.marlith"));
        QCOMPARE(shownAndHeld(), worked);
        QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(shownAndHeld(), empty);
    }

    // Green is LWM, blue is VTP: every control of a group shares its group's colour, and the
    // two groups differ.
    void colourCodingMarksTheGroups()
    {
        const auto colourOf = [&](const char *name) {
            QWidget *w = control(name);
            return w->palette().color(qobject_cast<QAbstractButton *>(w) ? QPalette::Button
                                                                         : QPalette::Base);
        };
        const QColor lwm = colourOf("lstLWM"), vtp = colourOf("lstVTP");
        QVERIFY(lwm != vtp);
        for (const char *name : {"txtlwmnumber", "txtaltitude", "cmdcreatelwm", "cmdViewLWM",
                                 "cmdlwmclearlistitem", "cmdclearlwmlist"})
            QCOMPARE(colourOf(name), lwm);
        for (const char *name :
             {"txtvtpnumber", "txtvtplinewidth", "cbovtptype", "cbolayer", "cmdcreatevtp",
              "cmdViewVTP", "cmdvtpclearitem", "cmdclearvtplist"})
            QCOMPARE(colourOf(name), vtp);
    }

    // Alt and a letter reach every menu item: within a menu no two items share their letter.
    void menuAcceleratorsAreUnique()
    {
        for (QAction *top : window->menuBar()->actions()) {
            if (!top->menu())
                continue;
            QStringList letters;
            for (QAction *a : top->menu()->actions()) {
                const qsizetype amp = a->text().indexOf(u'&');
                if (a->isSeparator() || amp < 0)
                    continue;
                const QString letter = a->text().mid(amp + 1, 1).toLower();
                QVERIFY2(!letters.contains(letter), qPrintable(top->text() + ": " + a->text()));
                letters << letter;
            }
        }
    }

    // The Edit menu takes a press back and makes it again, and copies the list in use.
    void editMenuActsOnTheWork()
    {
        calculate("47", "30.50", "-122", "18.25");
        press(3, 4);
        const QList<QAction *> edit = control<QMenu>("mnuedit")->actions();
        edit[0]->trigger();
        QVERIFY(entries("lstLWM").isEmpty());
        edit[1]->trigger();
        QCOMPARE(entries("lstLWM"), QStringList{"LWMPoint 3, 4"});
        window->activateWindow();
        control("lstLWM")->setFocus();
        edit.back()->trigger();
        QCOMPARE(desktop.copiedTexts, QStringList{"LWMPoint 3, 4\n"});
    }

    void calculateShowsDecimalDegreesInTheUsersLocale()
    {
        window->setLocale(QLocale(QLocale::German, QLocale::Germany));
        calculate("47", "30.50", "-122", "18.25");
        QCOMPARE(text("lbllatdd"), QStringLiteral("47,5083333333333"));
        QCOMPARE(text("lblareay"), QStringLiteral("27"));
    }

    void calculateOverflowReportsAndKeepsWhatItWrote()
    {
        calculate("47", "30.50", "-122", "18.25");
        calculate("1e307", "0", "0", "0");
        QCOMPARE(desktop.messages.size(), size_t(1));
        QCOMPARE(desktop.messages[0].title, QStringLiteral("Marlith"));
        QCOMPARE(desktop.messages[0].text, QStringLiteral("Run-time error '6':\n\nOverflow"));
        // Cell and area column were written before the failing step; the rest kept theirs.
        QCOMPARE(text("lblcellx"), QStringLiteral("384"));
        QCOMPARE(text("lblcelly"), QStringLiteral("0"));
        QCOMPARE(text("lblareax"), QStringLiteral("0"));
        QCOMPARE(text("lblareay"), QStringLiteral("27"));
        QCOMPARE(text("lbllatdd"), QStringLiteral("47.5083333333333"));
        QVERIFY(window->isVisible());
    }

    void calculateExplainsWhereTheCellAndAreaLie()
    {
        QVERIFY(control("lblcellx")->toolTip().isEmpty());
        calculate("47", "30.50", "-122", "18.25");
        const QString cell = control("lblcelly")->toolTip();
        QVERIFY2(cell.contains(QStringLiteral("North: 47.8125000\u00b0 N  (47\u00b0 48.750' N)")),
                 qPrintable(cell));
        QVERIFY2(cell.contains(QStringLiteral("West: 122.3437500\u00b0 W")), qPrintable(cell));
        const QString area = control("lblareax")->toolTip();
        QVERIFY2(area.startsWith(QStringLiteral("LOD 13 area 2, 27")), qPrintable(area));
        // The captions the writers read are untouched by this.
        QCOMPARE(text("lblareax"), QStringLiteral("2"));
    }

    // View warns while no file exists, opens one that does, and says so when nothing starts.
    void viewOpensTheFileOrSaysWhyNot()
    {
        click("cmdViewLWM");
        click("cmdViewVTP");
        QCOMPARE(desktop.messages.size(), size_t(2));
        QCOMPARE(desktop.messages[0].text,
                 QStringLiteral("File hasn't been created yet. If you want to create the file "
                                "please click \"Create LWMsource.asm\""));
        QCOMPARE(desktop.messages[1].text,
                 QStringLiteral("File hasn't been created yet. If you want to create the file "
                                "please click \"Create VTPsource.asm\""));
        QCOMPARE(desktop.messages[1].title, QStringLiteral("Marlith"));
        QVERIFY(desktop.editedFiles.isEmpty());

        desktop.messages.clear();
        QVERIFY(writeFileBytes(folder.filePath("VTPSource.asm"), {}));
        click("cmdViewVTP");
        QCOMPARE(desktop.editedFiles,
                 QStringList{folder.path() + QDir::separator() + "VTPSource.asm"});
        QVERIFY(desktop.messages.empty());

        desktop.launchSucceeds = false;
        click("cmdViewVTP");
        QCOMPARE(desktop.messages.size(), size_t(1));
        QVERIFY(desktop.messages[0].text.startsWith("The text editor could not be started"));
        // Started, and then the launcher gave up.
        desktop.launchSucceeds = true;
        desktop.launchFailsLater = true;
        click("cmdViewVTP");
        QTRY_COMPARE(desktop.messages.size(), size_t(2));
        QCOMPARE(desktop.messages[1].text, desktop.messages[0].text);
    }

    // The picked folder is where Create writes, what View opens and what the next run starts
    // with; Cancel changes nothing.
    void outputFolderIsPickedForCreateAndViewAndRemembered()
    {
        QTemporaryDir picked;
        const QString native = QDir::toNativeSeparators(picked.path());
        desktop.folderAnswers = {std::nullopt, native};
        trigger("mnuoutputfolder");
        QCOMPARE(desktop.lastFolderStart, folder.path());
        QVERIFY(desktop.rememberedFolders.isEmpty());
        trigger("mnuoutputfolder");
        QCOMPARE(desktop.rememberedFolders, QStringList{native});

        click("cmdcreatelwm");
        const QString written = native + QDir::separator() + "LWMSource.asm";
        QVERIFY(QFile::exists(written));
        QVERIFY(!QFile::exists(folder.filePath("LWMSource.asm")));
        QCOMPARE(message(), "Wrote " + written + ".");
        click("cmdViewLWM");
        QCOMPARE(desktop.editedFiles, QStringList{written});
        QVERIFY(desktop.messages.empty());
    }

    // The menu items and F1 open the documents beside the program, or in the share folder of
    // an installed one.
    void helpOpensTheDocumentsBesideTheProgram()
    {
        trigger("mnuhelptutorial");
        trigger("mnuquickstart");
        window->activateWindow();
        QTest::keyClick(control("txtlatdeg"), Qt::Key_F1);
        const QString sep = QDir::separator();
        const QString help = folder.path() + sep + "htmfiles" + sep + "Help.htm";
        QCOMPARE(
            desktop.openedDocuments,
            (QStringList{help, folder.path() + sep + "htmfiles" + sep + "QuickStart.htm", help}));
        // A missing document shows nothing.
        QVERIFY(desktop.messages.empty());

        // One that nothing could show is named, with how to open it by hand.
        desktop.launchSucceeds = false;
        QVERIFY(QDir(folder.path()).mkpath("htmfiles"));
        QVERIFY(writeFileBytes(help, {}));
        trigger("mnuquickstart");
        QVERIFY(desktop.messages.empty());
        trigger("mnuhelptutorial");
        QCOMPARE(desktop.messages.size(), size_t(1));
        QVERIFY(desktop.messages[0].text.contains(QDir::toNativeSeparators(help)));
        QVERIFY(desktop.messages[0].text.contains("web browser"));
        // xdg-open started, and no browser answered it.
        desktop.launchSucceeds = true;
        desktop.launchFailsLater = true;
        trigger("mnuhelptutorial");
        QTRY_COMPARE(desktop.messages.size(), size_t(2));
        QCOMPARE(desktop.messages[1].text, desktop.messages[0].text);
        desktop.launchFailsLater = false;

        desktop.layout = ProgramLayout::Installed;
        desktop.folder = QDir::toNativeSeparators("/usr/bin");
        desktop.openedDocuments.clear();
        trigger("mnuquickstart");
#ifdef Q_OS_WIN // the installer keeps the help beside the program
        const char *installedHelp = "/usr/bin/htmfiles/QuickStart.htm";
#else
        const char *installedHelp = "/usr/share/marlith3/htmfiles/QuickStart.htm";
#endif
        QCOMPARE(desktop.openedDocuments, QStringList{QDir::toNativeSeparators(installedHelp)});
    }

    // One about box, shown, hidden and shown again; Exit closes it with the main window.
    void aboutBoxIsOneWindowShownHiddenAndShownAgain()
    {
        window->move(100, 80);
        QAction *about = window->findChild<QAction *>("mnuabout");
        about->trigger();
        about->trigger();
        const auto boxes = window->findChildren<QWidget *>("frmabout");
        QCOMPARE(boxes.size(), 1);
        QWidget *box = boxes[0];
        QVERIFY(box->isVisible());
        QCOMPARE(box->windowTitle(), QStringLiteral(" About  Marlith"));
        QVERIFY(box->isWindow());
        QCOMPARE(box->windowModality(), Qt::NonModal);
        QCOMPARE(box->size(), QSize(320, 240));
        QCOMPARE(box->findChild<QLabel *>("lblabout")->text(), QStringLiteral("Marlith"));
        QCOMPARE(box->findChild<QLabel *>("lblversiion")->text(), QStringLiteral("Version  3"));
        QVERIFY(!box->findChild<QLabel *>("lblbyme")->text().isEmpty());

        // Centred on the main window; OK and Escape hide it.
        QVERIFY(QTest::qWaitForWindowExposed(box));
        const QPoint off = box->frameGeometry().center() - window->frameGeometry().center();
        QVERIFY2(off.manhattanLength() <= 4,
                 qPrintable(QString("%1,%2").arg(off.x()).arg(off.y())));
        QTest::mouseClick(box->findChild<QPushButton *>("cmdok"), Qt::LeftButton);
        QVERIFY(!box->isVisible());
        about->trigger();
        QVERIFY(box->isVisible());
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!box->isVisible());
        about->trigger();
        QVERIFY(box->isVisible());
        QCOMPARE(window->findChildren<QWidget *>("frmabout").size(), 1);
        // The main window stays usable meanwhile.
        calculate("47", "30.50", "-122", "18.25");
        QCOMPARE(text("lblcellx"), QStringLiteral("123"));

        // Ctrl+Q ends the program on every platform, from the main window or the box.
        desktop.saveChoices = {Desktop::SaveChoice::Discard}; // the calculation is unsaved work
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!window->isVisible());
        QVERIFY(!box->isVisible());
    }

    void everyControlHasAnAccessibleName()
    {
        for (QWidget *w : window->centralWidget()->findChildren<QWidget *>()) {
            if (w->focusPolicy() == Qt::NoFocus || w->objectName().isEmpty()
                || qobject_cast<QComboBox *>(w->parentWidget()))
                continue;
            QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        }
    }

    void noCaptionIsClipped()
    {
        for (auto *b : window->centralWidget()->findChildren<QPushButton *>()) {
            const int room = b->width() - 6;
            QVERIFY2(b->fontMetrics().horizontalAdvance(b->text()) <= room,
                     qPrintable(b->objectName()));
        }
        for (auto *l : window->centralWidget()->findChildren<QLabel *>()) {
            if (l->wordWrap() || l->text().isEmpty())
                continue;
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(),
                     qPrintable(l->objectName()));
        }
        calculate("-47", "30.50", "-122", "18.25");
        for (const char *name : {"lbllatdd", "lbllongdd"}) {
            auto *l = control<QLabel>(name);
            QVERIFY2(l->fontMetrics().horizontalAdvance(l->text()) <= l->width(), name);
        }
        auto *combo = control<QComboBox>("cbovtptype");
        QVERIFY(combo->fontMetrics().horizontalAdvance(combo->currentText()) < combo->width() - 20);
    }

    // A line type or layer is taken as typed: no completion may finish the text.
    void typedComboTextStaysAsTyped()
    {
        for (const char *name : {"cbovtptype", "cbolayer"}) {
            auto *box = control<QComboBox>(name);
            box->setFocus();
            box->lineEdit()->clear();
            const QString typed = box->itemText(box->count() - 1).left(3);
            QTest::keyClicks(box->lineEdit(), typed);
            QCOMPARE(box->currentText(), typed);
        }
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
