#pragma once

// What the window benchmarks and the memory probe share: a real main window with a desktop
// that never blocks, a calculated area, and the press that fills its lists.

#include "app/mainwindow.h"
#include "fake_desktop.h"
#include "widgets/point_list.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QWidget>

#include <memory>

namespace bench {

// Counts the paint events of one top-level window and its children, so that "shown" means
// a frame was really painted, not just that show() returned.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *window) : m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~PaintCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    int paints() const { return m_paints; }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window() == m_window)
            ++m_paints;
        return false;
    }

private:
    QWidget *m_window;
    int m_paints = 0;
};

// Shows the window and processes events until its first frame has been painted. The
// repaint manager paints every dirty widget of a window in one pass, so the pass that
// delivers the first paint event also finishes the frame.
inline bool showUntilPainted(QWidget *window, int timeoutMs = 5000)
{
    PaintCounter counter(window);
    window->show();
    QElapsedTimer clock;
    clock.start();
    while (counter.paints() == 0) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

// The real window on a fake desktop, with a position calculated so that the cursor and
// press handlers run their whole path.
struct RealWindow
{
    FakeDesktop desktop;
    std::unique_ptr<MainWindow> window;

    explicit RealWindow(const QString &folder = QString())
    {
        desktop.folder = folder;
        window = std::make_unique<MainWindow>(desktop);
        set("txtlatdeg", QStringLiteral("47"));
        set("txtlatmin", QStringLiteral("30.50"));
        set("txtlongdeg", QStringLiteral("-122"));
        set("txtlongmin", QStringLiteral("18.25"));
        window->cmdcalculate_Click();
    }

    template <typename T = QWidget>
    T *control(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    void set(const char *name, const QString &text) { control<QLineEdit>(name)->setText(text); }
    PointList *lwmList() const { return control<PointList>("lstLWM"); }
    PointList *vtpList() const { return control<PointList>("lstVTP"); }

    // Presses over the whole image, pixel after pixel, until the LWM list holds `entries`;
    // with `eventsEvery`, the window handles its events after that many presses, as it does
    // between the clicks of a user.
    void fillTo(int entries, int eventsEvery = 0)
    {
        const QSizeF inner = control("Picture1")->contentsRect().size();
        for (int i = lwmList()->count(); i < entries; ++i) {
            window->Picture1_MouseDown(QPointF((i % 256) * inner.width() / 256.0 + 0.5,
                                               (i / 256 % 256) * inner.height() / 256.0 + 0.5));
            if (eventsEvery > 0 && i % eventsEvery == 0)
                QCoreApplication::processEvents();
        }
    }
};

// Kilobytes of one field of /proc/self/status ("VmRSS", "VmHWM"), or -1.
inline qint64 statusKiB(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

} // namespace bench
