#pragma once

#include "jobs/cancel_token.h"

#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

class JobRunner;

// What a running job may do besides its work: ask whether it is still wanted and say how far
// it got. Both are safe to call often from the job's thread.
class JobControl
{
public:
    bool canceled() const { return m_token.canceled(); }
    const CancelToken &token() const { return m_token; }
    // Reaches the owner as JobRunner::progress(); calls in quick succession are merged, so
    // the owner sees the latest and its event queue stays short.
    void progress(qint64 done, qint64 total, const QString &note = {});

private:
    friend class JobRunner;
    struct Channel;
    JobControl(CancelToken token, std::shared_ptr<Channel> channel, quint64 id);

    CancelToken m_token;
    std::shared_ptr<Channel> m_channel;
    quint64 m_id;
};

// Runs work off the owner's thread, one job at a time, and hands its result back on the
// owner's thread. The owner is the thread the runner lives in; call it only from there.
//
//     JobRunner m_cuts{JobRunner::Policy::LatestOnly};
//     m_cuts.run([path, place](JobControl &job) { return cutArea(path, place, job.token()); },
//                [this, path](AreaCut cut) { show(path, cut); });
//
// - `work` runs on a worker thread and must own what it reads: capture values, never `this`
//   or references into the owner. It polls `job.canceled()` (or passes `job.token()` to the
//   core, which polls it) and returns early once it is true; what it returns then is dropped.
// - `done` runs on the owner's thread, only for a job that was neither cancelled nor
//   replaced, and only while the runner exists.
// - LatestOnly: a new job replaces the one waiting and cancels the one running; Queued: jobs
//   run in the order given. Either way a new job starts only after the running one ended, so
//   two jobs of one runner never run at once.
// - cancel() and the destructor return at once: the running job is told to stop and ends on
//   its own thread; nothing of it is delivered. A window that closes never waits for a job.
class JobRunner final : public QObject
{
    Q_OBJECT

public:
    enum class Policy { LatestOnly, Queued };

    explicit JobRunner(Policy policy, QObject *parent = nullptr);
    ~JobRunner() override;

    template <typename Work, typename Done>
    void run(Work work, Done done)
    {
        using Result = std::invoke_result_t<Work &, JobControl &>;
        enqueue([work = std::move(work), done = std::move(done)](JobControl &job) mutable {
            auto result = std::make_shared<Result>(work(job));
            return Delivery(
                [done = std::move(done), result]() mutable { done(std::move(*result)); });
        });
    }

    // Drops the waiting jobs and tells the running one to stop; nothing of them is delivered.
    void cancel();
    // A job runs (also a cancelled one that has not yet stopped) or waits.
    bool busy() const;
    // Waits until the jobs of every runner, cancelled ones too, have ended; false after
    // `msecs`. For tests that check what a dropped job left behind: the window never waits.
    static bool waitForAllJobs(int msecs);

signals:
    void busyChanged(bool busy);
    void progress(qint64 done, qint64 total, const QString &note);
    // The job threw instead of returning; `what` is the exception's text.
    void failed(const QString &what);

private:
    using Delivery = std::function<void()>;
    using Work = std::function<Delivery(JobControl &)>;
    struct Job
    {
        Work work;
        CancelToken token;
        quint64 id = 0;
    };
    friend class JobControl;

    void enqueue(Work work);
    void start(Job job);
    void finished(quint64 id, const Delivery &delivery, const QString &failure);
    void showProgress(quint64 id, qint64 done, qint64 total, const QString &note);
    // Called through the event queue by name, so the call itself carries no data.
    Q_INVOKABLE void takeMail();

    Policy m_policy;
    std::shared_ptr<JobControl::Channel> m_channel;
    std::optional<Job> m_running;
    std::deque<Job> m_waiting;
    quint64 m_lastId = 0;
};
