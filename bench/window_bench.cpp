// The main window's start-up, cursor moves and presses, timed on the offscreen platform.
#include "window_support.h"
#include "work_states.h"
#include "workfile/opening.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPixmapCache>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

// One control of the real window's client area: its kind, place and caption.
struct ControlShape
{
    QByteArray kind;
    QRect geometry;
    QString text;
    bool editable = false;
};

struct WindowShape
{
    std::vector<ControlShape> controls;
    QSize clientSize;
};

WindowShape shapeOf(const QMainWindow &window)
{
    WindowShape shape;
    shape.clientSize = window.centralWidget()->size();
    for (QWidget *w : window.centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        ControlShape c{w->metaObject()->className(), w->geometry(), QString()};
        if (auto *l = qobject_cast<QLabel *>(w))
            c.text = l->text();
        else if (auto *b = qobject_cast<QPushButton *>(w))
            c.text = b->text();
        else if (auto *e = qobject_cast<QLineEdit *>(w))
            c.text = e->text();
        else if (auto *b = qobject_cast<QComboBox *>(w))
            c.editable = b->isEditable();
        shape.controls.push_back(c);
    }
    return shape;
}

WindowShape &realShape()
{
    static WindowShape shape = [] {
        bench::RealWindow real;
        return shapeOf(*real.window);
    }();
    return shape;
}

// A plain QMainWindow with the same controls (an editable combo box where the real one is
// editable) at the same places and with the same captions, but none of the real window's
// colours, fonts, items, connections or handlers.
std::unique_ptr<QMainWindow> bareWindow(const WindowShape &shape)
{
    auto window = std::make_unique<QMainWindow>();
    auto *client = new QWidget(window.get());
    client->setFixedSize(shape.clientSize);
    window->setCentralWidget(client);
    for (const ControlShape &c : shape.controls) {
        QWidget *w = nullptr;
        if (c.kind == "QLabel")
            w = new QLabel(c.text, client);
        else if (c.kind == "QLineEdit")
            w = new QLineEdit(c.text, client);
        else if (c.kind == "QPushButton")
            w = new QPushButton(c.text, client);
        else if (c.kind == "QComboBox") {
            auto *box = new QComboBox(client);
            box->setEditable(c.editable);
            w = box;
        } else if (c.kind == "PointList")
            w = new QListView(client);
        else if (c.kind == "QFrame")
            w = new QFrame(client);
        else
            w = new QWidget(client); // the image panel
        w->setGeometry(c.geometry);
    }
    QMenu *file = window->menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Exit"));
    window->menuBar()->addAction(QStringLiteral("|"));
    QMenu *help = window->menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&Quick Start Guide"));
    help->addAction(QStringLiteral("Help Tutorial"));
    help->addAction(QStringLiteral("&About Marlith"));
    window->statusBar()->showMessage(QStringLiteral("Type a position and press Calculate."));
    window->setFixedSize(window->sizeHint());
    return window;
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Takes a window down, untimed, and empties the style's pixmap cache: a program starts
// without the button pictures of an earlier window, and a bare window's buttons, all of one
// palette, would otherwise find them where the real window's coloured ones never can.
template <typename Window>
void takeDown(Window &window)
{
    window.reset();
    settle();
    QPixmapCache::clear();
}

// A window built in every iteration and, with `show`, shown until its first frame is
// painted; taking it down again is not timed.
template <typename Build>
void timeWindows(benchmark::State &state, bool show, Build build)
{
    for (auto _ : state) {
        auto window = build();
        if (show && !bench::showUntilPainted(window.get()))
            state.SkipWithError("the window was never painted");
        state.PauseTiming();
        takeDown(window);
        state.ResumeTiming();
    }
}

// Seconds to build a window and show it until its first frame is painted.
template <typename Build>
double timedStart(benchmark::State &state, Build build)
{
    QElapsedTimer clock;
    clock.start();
    auto window = build();
    if (!bench::showUntilPainted(window.get()))
        state.SkipWithError("the window was never painted");
    const double seconds = double(clock.nsecsElapsed()) * 1e-9;
    takeDown(window);
    return seconds;
}

// From constructing the window to its first painted frame.
void BM_StartupReal(benchmark::State &state)
{
    FakeDesktop desktop;
    timeWindows(state, true, [&] { return std::make_unique<MainWindow>(desktop); });
}

void BM_StartupBare(benchmark::State &state)
{
    const WindowShape &shape = realShape();
    state.counters["controls"] = double(shape.controls.size());
    timeWindows(state, true, [&] { return bareWindow(shape); });
}

// The real and the bare window in turn, so that both see the same machine: on a shared
// machine the two separate runs above drift apart by more than the difference between them.
// The time is the real window's; "ratio" is the real against the bare.
void BM_StartupPair(benchmark::State &state)
{
    FakeDesktop desktop;
    const WindowShape &shape = realShape();
    double real = 0, bare = 0;
    for (auto _ : state) {
        const double r = timedStart(state, [&] { return std::make_unique<MainWindow>(desktop); });
        bare += timedStart(state, [&] { return bareWindow(shape); });
        real += r;
        state.SetIterationTime(r);
    }
    state.counters["ratio"] = bare > 0 ? real / bare : 0;
}

// Construction alone, to tell the building of the controls from their first painting.
void BM_BuildReal(benchmark::State &state)
{
    FakeDesktop desktop;
    timeWindows(state, false, [&] { return std::make_unique<MainWindow>(desktop); });
}

void BM_BuildBare(benchmark::State &state)
{
    const WindowShape &shape = realShape();
    timeWindows(state, false, [&] { return bareWindow(shape); });
}

// Two positions in turn, so that every move really changes the readouts.
QPointF movePosition(qint64 i)
{
    return i % 2 ? QPointF(40.5, 200.25) : QPointF(180.75, 30.5);
}

void BM_MoveHandler(benchmark::State &state)
{
    bench::RealWindow real;
    bench::showUntilPainted(real.window.get());
    qint64 i = 0;
    for (auto _ : state)
        real.window->Picture1_MouseMove(movePosition(i++));
    settle();
}

// A real mouse event through the panel's event handler and its signal.
void sendMove(QWidget *panel, QPointF local)
{
    QMouseEvent move(QEvent::MouseMove, local, panel->mapToGlobal(local), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(panel, &move);
}

void BM_MoveEvent(benchmark::State &state)
{
    bench::RealWindow real;
    bench::showUntilPainted(real.window.get());
    QWidget *panel = real.control("Picture1");
    qint64 i = 0;
    for (auto _ : state) {
        sendMove(panel, movePosition(i++));
    }
    settle();
}

// The move event and the repaint of the readouts and status bar it causes.
void BM_MoveEventPainted(benchmark::State &state)
{
    bench::RealWindow real;
    bench::showUntilPainted(real.window.get());
    QWidget *panel = real.control("Picture1");
    bench::PaintCounter paints(real.window.get());
    qint64 i = 0;
    for (auto _ : state) {
        sendMove(panel, movePosition(i++));
        QCoreApplication::processEvents();
    }
    state.counters["paints/move"] = double(paints.paints()) / double(state.iterations());
}

// The window whose lists the press benchmarks fill; it lives for the whole run, so each
// length is filled once.
bench::RealWindow &pressWindow()
{
    static bench::RealWindow *real = [] {
        auto *w = new bench::RealWindow;
        bench::showUntilPainted(w->window.get());
        return w;
    }();
    return *real;
}

// Presses in a row, as a user makes them, from a list length on: 200 of them add little to
// lists of 100 entries or more, all of which scroll to follow the newest entry.
void pressAt(benchmark::State &state, bool painted)
{
    bench::RealWindow &real = pressWindow();
    const int entries = int(state.range(0));
    // A start group has more entries than a later press: start from a shorter list.
    if (real.lwmList()->count() > entries) {
        real.window->cmdclearlwmlist_Click();
        real.window->cmdclearvtplist_Click();
    }
    real.fillTo(entries, 100);
    settle();
    const int lwmCount = real.lwmList()->count(), vtpCount = real.vtpList()->count();
    bench::PaintCounter paints(real.window.get());
    qint64 i = 0;
    for (auto _ : state) {
        real.window->Picture1_MouseDown(QPointF(20.5 + double(i++ % 200), 100.5));
        if (painted) {
            QCoreApplication::processEvents();
        } else {
            // What the user sees between two clicks is not the handler's time.
            state.PauseTiming();
            settle();
            state.ResumeTiming();
        }
    }
    state.counters["lwm"] = lwmCount;
    state.counters["vtp"] = vtpCount;
    if (painted)
        state.counters["paints/press"] = double(paints.paints()) / double(state.iterations());
}

void BM_PressHandler(benchmark::State &state)
{
    pressAt(state, false);
}
// The press and what it costs before the user sees it: list layout and repaint.
void BM_PressPainted(benchmark::State &state)
{
    pressAt(state, true);
}

// Open of a work file with n + n + 4 entries from the File menu's handler, until the window
// has painted the filled lists.
void BM_OpenWorkFileShown(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("work.marlith");
    if (!saveWorkFile(path, bench::filledState(int(state.range(0)))).isEmpty())
        state.SkipWithError("the save failed");
    bench::RealWindow real(dir.path());
    bench::showUntilPainted(real.window.get());
    for (auto _ : state) {
        bench::PaintCounter painted(real.window.get());
        real.window->openWorkOrSource(path);
        while (painted.paints() == 0)
            QCoreApplication::processEvents();
    }
    state.counters["lwm"] = real.lwmList()->count();
    state.counters["vtp"] = real.vtpList()->count();
}

// Save from the File menu's handler, to the work file last saved.
void BM_SaveWorkFileWindow(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("work.marlith");
    if (!saveWorkFile(path, bench::filledState(int(state.range(0)))).isEmpty())
        state.SkipWithError("the save failed");
    bench::RealWindow real(dir.path());
    real.window->openWorkOrSource(path);
    for (auto _ : state)
        real.window->mnusave_Click();
    state.counters["file_bytes"] = double(QFileInfo(path).size());
}

BENCHMARK(BM_StartupReal)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartupBare)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartupPair)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_BuildReal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildBare)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveHandler)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveEvent)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MoveEventPainted)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PressHandler)
    ->Arg(100)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(200)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PressPainted)
    ->Arg(100)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(50)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_OpenWorkFileShown)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SaveWorkFileWindow)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    // No display is needed: the figures are for the window's own work.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // One window of each kind first, so that neither pays for loading fonts and styles.
    {
        bench::RealWindow warm;
        bench::showUntilPainted(warm.window.get());
        auto bare = bareWindow(realShape());
        bench::showUntilPainted(bare.get());
    }
    settle();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
