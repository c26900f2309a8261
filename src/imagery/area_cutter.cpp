#include "imagery/area_cutter.h"

#include <QtConcurrent>

AreaCutter::AreaCutter(QObject *parent) : QObject(parent)
{
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &AreaCutter::finished);
}

AreaCutter::~AreaCutter()
{
    ++*m_generation;
    m_watcher.disconnect(this);
    m_watcher.waitForFinished();
}

void AreaCutter::request(const QString &path, const GridPlace &place)
{
    const bool wasBusy = busy();
    ++*m_generation;
    if (m_running)
        m_waiting = Request{path, place};
    else
        start({path, place});
    if (!wasBusy)
        emit busyChanged(true);
}

void AreaCutter::cancel()
{
    ++*m_generation;
    const bool wasBusy = busy();
    m_waiting.reset();
    // The running cut still ends on its own, at its next step; it delivers nothing.
    if (wasBusy && !m_running)
        emit busyChanged(false);
}

void AreaCutter::start(const Request &r)
{
    m_running = r;
    m_runningGeneration = *m_generation;
    m_watcher.setFuture(
        QtConcurrent::run([r, generation = m_runningGeneration, latest = m_generation] {
            return cutArea(r.path, r.place, [&] { return *latest != generation; });
        }));
}

void AreaCutter::finished()
{
    const Request done = *m_running;
    m_running.reset();
    const bool wanted = m_runningGeneration == *m_generation;
    const AreaCut result = wanted ? m_watcher.future().result() : AreaCut();
    if (m_waiting) {
        const Request next = *m_waiting;
        m_waiting.reset();
        start(next);
    }
    if (wanted)
        emit cut(done.path, result);
    if (!busy())
        emit busyChanged(false);
}
