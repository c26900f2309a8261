#pragma once

#include <QMainWindow>

#include "widgets/main_form.h"

#include <array>
#include <functional>
#include <initializer_list>
#include <optional>

class AboutBox;
class AreaPreview;
class Desktop;
class PictureFeed;
class PointList;
class QMenu;
class ServiceCatalogue;
class Session;
class StatusLine;
struct GridPlace;
struct StatusText;
enum class Field;
enum class ListSide;

// The main window shows one Session and hands it what the user does: each control is bound
// to a text of the session, and each handler runs the session's operation and reports its
// run-time error. Dialogs go through the Desktop, so tests drive the real window.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(Desktop &desktop, QWidget *parent = nullptr);
    ~MainWindow() override;

    Session &session() { return *m_session; }

public slots:
    void cmdcalculate_Click();
    void cmdload_Click();
    void Picture1_MouseMove(QPointF position);
    void Picture1_MouseDown(QPointF position);
    void cmdcreatelwm_Click();
    void cmdcreatevtp_Click();
    void cmdViewLWM_Click();
    void cmdViewVTP_Click();
    void cmdlwmclearlistitem_Click();
    void cmdvtpclearitem_Click();
    void cmdclearlwmlist_Click();
    void cmdclearvtplist_Click();
    void lstLWM_DblClick();
    void lstVTP_DblClick();
    void mnuexport_Click();
    void mnuimport_Click();
    void mnuwriteareas_Click();
    void mnuexit_Click();
    void mnuquickstart_Click();
    void mnuhelptutorial_Click();
    void mnuabout_Click();
    void mnunew_Click();
    void mnuopen_Click();
    void mnusave_Click();
    void mnusaveas_Click();
    void mnuoutputfolder_Click();

    QString LWMFilePath() const;
    QString VTPFilePath() const;

public:
    // Open of a work file or a generated source, as one step of the history.
    void openWorkOrSource(const QString &path);
    // Load 256x256 Image with a chosen file.
    void loadImage(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Runs one handler to its end; a run-time error or a Failure abandons it at the failing
    // step and is reported, and the program goes on with whatever the handler had already
    // done. True when it ran to its end.
    bool runHandler(const std::function<void()> &steps);

    // Binding the controls to the session, in mainwindow_binding.cpp.
    void bindSession();
    void showText(Field field);
    void showTitle();
    PointList *listOf(ListSide side) const;

    // Menus, help documents, the about box and the end of a run, in mainwindow_menus.cpp.
    void buildMenus();
    QString helpDocument(const QString &name) const;
    void OpenFile(const QString &path);
    // Unsaved work: Save, Discard or Cancel. True when the work may go.
    bool workMayGo();

    // Work files, in mainwindow_workfile.cpp.
    void buildWorkFile();
    void saveWorkTo(const QString &path);

    // Undo and redo, and the lists' context menus, in mainwindow_history.cpp.
    void buildHistory();
    void buildListMenu(PointList *list, ListSide side);
    // The Edit menu, in mainwindow_edit.cpp.
    void buildEditMenu();

    // Georeference aids, in mainwindow_georef.cpp.
    void showGridBounds();
    void showCursorPosition(QPointF position, QSizeF innerSize);

    // Create and View of either file, in mainwindow_sources.cpp.
    void createSource(ListSide side);
    void viewSource(ListSide side, const QString &missingMessage);

    // The status line, in mainwindow_status.cpp.
    void buildStatusLine();
    void setPlaceStatus(const QString &text);
    void showMessage(const QString &text);
    // A message that starts with a warning, which a narrow status line keeps.
    void showWarning(const QString &text);
    void showStatus(const StatusText &status);
    // After a list edit or Create: `lead` says what was done, after `warning` and the hints
    // of the counters of `sides` that no longer match their lists.
    void showCounterHints(std::initializer_list<ListSide> sides, const QString &lead = QString(),
                          const QString &warning = QString());

    // Shapes in and out, in mainwindow_exchange.cpp.
    void addExchangeCommands(QMenu *file);

    // The picture of the image source, in mainwindow_imagery.cpp.
    void buildImagery();
    void showImageSource();
    // The picture and the place of a written area while it is previewed; the work's after.
    void showPreviewPlace(const std::optional<GridPlace> &place);

    void connectHandlers();

    Desktop &m_desktop;
    MainForm m_form;
    class OsmDataMenu *m_osm = nullptr;
    class SessionOverlay *m_overlay = nullptr;
    AreaPreview *m_preview = nullptr;
    Session *m_session;
    AboutBox *m_about = nullptr;
    StatusLine *m_status = nullptr;
    PictureFeed *m_feed = nullptr;
    ServiceCatalogue *m_catalogue = nullptr;
    // Each text of the session and the control that shows it.
    std::array<QWidget *, 20> m_views{};
};
