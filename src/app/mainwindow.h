#pragma once

#include <QMainWindow>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class AboutBox;
class CounterField;
class Desktop;
class ImagePanel;
class ListChange;
class PointList;
class QAction;
class QComboBox;
class QLabel;
class QImage;
class QLineEdit;
class QMenu;
class QPushButton;
class QUndoStack;
class RuntimeError;
struct CoordinateTexts;
struct AreaCut;
struct GeoBounds;
struct GridPlace;
struct ImageProbe;
struct CursorInput;
struct CursorReadouts;
struct GridPlace;
struct ImagePosition;
struct WorkState;

// The main window is the program's working state: every value lives in a control's text,
// and each handler reads controls, lets the core decide, and writes controls back.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(Desktop &desktop, QWidget *parent = nullptr);
    ~MainWindow() override;

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
    void mnuexit_Click();
    void mnuquickstart_Click();
    void mnuhelptutorial_Click();
    void mnuabout_Click();
    void mnuopen_Click();
    void mnusave_Click();
    void mnusaveas_Click();

    QString LWMFilePath() const;
    QString VTPFilePath() const;

public:
    // The working state as one snapshot: what a work file keeps and Open puts back.
    WorkState workState() const;
    void applyWorkState(const WorkState &s);
    // Open of a work file or a generated source, as one step of the history.
    void openWorkOrSource(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Runs one handler to its end; a run-time error abandons it at the failing step and is
    // reported, and the program goes on with whatever the handler had already done.
    void runHandler(const std::function<void()> &steps);
    void reportRuntimeError(const RuntimeError &e);
    CoordinateTexts coordinateTexts() const;

    // Help documents, the about box and the end of a run, in mainwindow_menus.cpp.
    void buildMenus();
    QString helpDocument(const QString &name) const;
    void OpenFile(const QString &path);

    // Capture, in mainwindow_capture.cpp.
    CursorInput cursorInput(QPointF position) const;
    void showReadouts(const CursorReadouts &readouts);
    void redrawShapes();

    // List editing, in mainwindow_lists.cpp.
    void removeSelected(PointList *list);
    void clearEntries(PointList *list);
    void insertEntry(PointList *list);

    // Create and View, in mainwindow_sources.cpp.
    void viewSourceFile(const QString &path, const QString &missingMessage);

    // Work files, in mainwindow_workfile.cpp.
    struct WindowSnapshot;
    void buildWorkFile();
    WindowSnapshot snapshot() const;
    void restore(const WindowSnapshot &s);
    QImage workImage(const WorkState &s, QStringList &notes) const;
    void saveWorkTo(const QString &path);
    void loadImage(const QString &path);

    // Undo and redo, in mainwindow_history.cpp.
    void buildHistory();
    void buildListMenu(PointList *list, QAction *undo, QAction *redo);
    // Puts an edit the handler has just made on the undo stack.
    void record(std::unique_ptr<ListChange> change, const QString &text);

    // Georeference aids, in mainwindow_georef.cpp.
    std::optional<GeoBounds> shownAreaBounds() const;
    QString areaStatusText() const;
    void showGridBounds();
    void showCursorPosition(QPointF position, QSizeF innerSize);

    // The status line, in mainwindow_status.cpp. Its permanent part says where the grid and
    // the cursor are; any feature may set it. Passing messages go through showMessage.
    void buildStatusLine();
    void setPlaceStatus(const QString &text);
    // After a list edit or Create: says when a counter no longer matches its list, for the
    // list edited or written, or for both.
    enum class Counters { Lwm, Vtp, Both };
    void showCounterHints(Counters which);
    void showRuntimeErrorDetail(const RuntimeError &e);

    // Shapes in and out, in mainwindow_exchange.cpp.
    void addExchangeCommands(QMenu *file);
    // The calculated cell and area; without them, a message asks for a Calculate.
    std::optional<GridPlace> requireCalculatedPlace();
    void pressAll(const std::vector<ImagePosition> &positions);

    // Georeferenced pictures, in mainwindow_imagery.cpp.
    static QString imageFilter();
    void loadGeoreferenced(const QString &path, const ImageProbe &probe);
    void recutGeoreferenced();
    void startCut(const QString &path, const GridPlace &place);
    void showCut(const QString &path, const AreaCut &cut);
    // A later load, Calculate or restored state: a cut under way is no longer wanted.
    void supersedeCuts();
    void stopCuts();

    // Control building, in mainwindow_controls.cpp.
    void buildControls();
    void buildCoordinateGroup(QWidget *client);
    void buildVtpSettings(QWidget *client);
    void buildGridReadouts(QWidget *client);
    void buildLwmColumn(QWidget *client);
    void buildCentre(QWidget *client);
    void buildVtpColumn(QWidget *client);
    void connectHandlers();
    void setFocusOrder();

    Desktop &m_desktop;
    AboutBox *m_about = nullptr;
    QString m_imageFolder; // where the image dialog opens: the last image's folder
    QLabel *m_placeStatus = nullptr;
    QString m_counterHint; // the counter hint the status line shows, if any
    QUndoStack *m_history = nullptr;
    // The counters as the recorded edits see them.
    std::unique_ptr<CounterField> m_lwmCounter, m_vtpCounter;
    // The work file last opened or saved, and the picture on the panel. Calculate cuts its
    // new area from a georeferenced one.
    QString m_workFile, m_imagePath;
    bool m_imageGeoreferenced = false;
    QLabel *m_workFileStatus = nullptr;
    // Raised by supersedeCuts(); a cut started under an older value is dropped.
    std::shared_ptr<std::atomic<int>> m_cutGeneration = std::make_shared<std::atomic<int>>(0);
    int m_cutsRunning = 0;

    // The controls, under the names the rest of the program knows them by.
    QLineEdit *txtlatdeg, *txtlatmin, *txtlongdeg, *txtlongmin, *txtaltitude;
    QLabel *lbllatdd, *lbllongdd;
    QPushButton *cmdcalculate;
    QLabel *lblcellx, *lblcelly, *lblareax, *lblareay;
    QComboBox *cbovtptype, *cbolayer;
    QLineEdit *txtvtplinewidth;
    ImagePanel *Picture1;
    QPushButton *cmdload;
    PointList *lstLWM, *lstVTP;
    QLineEdit *txtlwmnumber, *txtvtpnumber;
    QLabel *lblx, *lbly, *lblvtp2x, *lblvtp2y;
    QPushButton *cmdcreatelwm, *cmdViewLWM, *cmdlwmclearlistitem, *cmdclearlwmlist;
    QPushButton *cmdcreatevtp, *cmdViewVTP, *cmdvtpclearitem, *cmdclearvtplist;
};
