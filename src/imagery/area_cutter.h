#pragma once

#include "imagery/area_cut.h"

#include <QFutureWatcher>
#include <QObject>

#include <atomic>
#include <memory>
#include <optional>

// Cuts areas off the calling thread, one at a time, and delivers only the newest: a request
// made while a cut runs waits for it and replaces any request that waited before, and the
// running cut is told to stop between its steps. A superseded cut never delivers.
class AreaCutter final : public QObject
{
    Q_OBJECT

public:
    explicit AreaCutter(QObject *parent = nullptr);
    // Waits for the running cut, which stops at its next step.
    ~AreaCutter() override;

    void request(const QString &path, const GridPlace &place);
    // Nothing under way is delivered any more.
    void cancel();
    bool busy() const { return m_running || m_waiting; }

signals:
    void cut(const QString &path, const AreaCut &cut);
    void busyChanged(bool busy);

private:
    struct Request
    {
        QString path;
        GridPlace place;
    };
    void start(const Request &r);
    void finished();

    // Raised by every request and cancel; a cut started under an older value stops.
    std::shared_ptr<std::atomic<int>> m_generation = std::make_shared<std::atomic<int>>(0);
    int m_runningGeneration = 0;
    std::optional<Request> m_waiting;
    std::optional<Request> m_running;
    QFutureWatcher<AreaCut> m_watcher;
};
