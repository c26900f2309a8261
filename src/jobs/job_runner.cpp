#include "jobs/job_runner.h"

#include <QMetaObject>
#include <QThread>
#include <QThreadPool>

#include <deque>
#include <exception>
#include <mutex>
#include <utility>

namespace {

// The jobs' own threads, apart from Qt's global pool, so that a long job never holds up
// another runner's job. Destroyed at exit, after every runner: it then waits for the cancelled
// jobs to reach their next check.
QThreadPool &jobThreads()
{
    static QThreadPool pool;
    // Room for more runners' jobs than there are cores: most of a job's time goes to reading
    // files, and a long one must leave room for another.
    static const bool sized = [] {
        pool.setMaxThreadCount(std::max(4, QThread::idealThreadCount()));
        return true;
    }();
    Q_UNUSED(sized);
    return pool;
}

} // namespace

// The way from the jobs' threads back to the runner: a mailbox under one mutex, and a bare
// wake-up call posted to the runner that carries nothing, so that everything handed over
// passes through the mutex. The runner unhooks itself under the mutex when it goes, so a
// job never posts to a runner that is gone.
struct JobControl::Channel
{
    struct Ended
    {
        quint64 id;
        std::function<void()> delivery;
        QString failure;
    };

    std::mutex mutex;
    JobRunner *owner = nullptr;
    bool wakePosted = false;
    std::deque<Ended> ended;
    bool progressWaiting = false;
    quint64 progressId = 0;
    qint64 done = 0, total = 0;
    QString note;

    // Call with the mutex held.
    void wake()
    {
        if (owner && !wakePosted) {
            wakePosted = true;
            QMetaObject::invokeMethod(owner, "takeMail", Qt::QueuedConnection);
        }
    }
};

JobControl::JobControl(CancelToken token, std::shared_ptr<Channel> channel, quint64 id)
    : m_token(std::move(token)), m_channel(std::move(channel)), m_id(id)
{
}

void JobControl::progress(qint64 done, qint64 total, const QString &note)
{
    Channel &c = *m_channel;
    const std::lock_guard lock(c.mutex);
    if (!c.owner || canceled())
        return;
    // Only the latest counts: a job that reports faster than the window draws overwrites it.
    c.progressWaiting = true;
    c.progressId = m_id;
    c.done = done;
    c.total = total;
    c.note = note;
    c.wake();
}

JobRunner::JobRunner(Policy policy, QObject *parent)
    : QObject(parent), m_policy(policy), m_channel(std::make_shared<JobControl::Channel>())
{
    m_channel->owner = this;
}

JobRunner::~JobRunner()
{
    std::deque<JobControl::Channel::Ended> undelivered;
    {
        const std::lock_guard lock(m_channel->mutex);
        m_channel->owner = nullptr;
        undelivered.swap(m_channel->ended);
    }
    for (const Job &job : m_waiting)
        job.token.cancel();
    if (m_running)
        m_running->token.cancel();
}

bool JobRunner::busy() const
{
    return m_running || !m_waiting.empty();
}

bool JobRunner::waitForAllJobs(int msecs)
{
    return jobThreads().waitForDone(msecs);
}

void JobRunner::cancel()
{
    for (const Job &job : m_waiting)
        job.token.cancel();
    m_waiting.clear();
    if (m_running)
        m_running->token.cancel();
}

void JobRunner::enqueue(Work work)
{
    const bool wasBusy = busy();
    Job job{std::move(work), CancelToken(), ++m_lastId};
    if (!m_running) {
        start(std::move(job));
    } else {
        if (m_policy == Policy::LatestOnly)
            cancel();
        m_waiting.push_back(std::move(job));
    }
    if (!wasBusy)
        emit busyChanged(true);
}

void JobRunner::start(Job job)
{
    m_running = Job{{}, job.token, job.id};
    jobThreads().start([channel = m_channel, work = std::move(job.work), token = job.token,
                        id = job.id]() mutable {
        JobControl control(token, channel, id);
        Delivery delivery;
        QString failure;
        try {
            delivery = work(control);
        } catch (const std::exception &e) {
            failure = QString::fromLocal8Bit(e.what());
        } catch (...) {
            failure = QStringLiteral("unknown exception");
        }
        // What the job captured goes here, on its own thread, not on the owner's.
        work = nullptr;
        const std::lock_guard lock(channel->mutex);
        if (channel->owner) {
            channel->ended.push_back({id, std::move(delivery), failure});
            channel->wake();
        }
    });
}

void JobRunner::takeMail()
{
    std::deque<JobControl::Channel::Ended> ended;
    bool progressWaiting;
    quint64 progressId;
    qint64 done, total;
    QString note;
    {
        JobControl::Channel &c = *m_channel;
        const std::lock_guard lock(c.mutex);
        c.wakePosted = false;
        ended.swap(c.ended);
        progressWaiting = std::exchange(c.progressWaiting, false);
        progressId = c.progressId;
        done = c.done;
        total = c.total;
        note = c.note;
    }
    // Progress first: it was said before the job that said it ended.
    if (progressWaiting)
        showProgress(progressId, done, total, note);
    for (const auto &e : ended)
        finished(e.id, e.delivery, e.failure);
}

void JobRunner::finished(quint64 id, const Delivery &delivery, const QString &failure)
{
    if (!m_running || m_running->id != id)
        return;
    const bool wanted = !m_running->token.canceled();
    m_running.reset();
    if (!m_waiting.empty()) {
        Job next = std::move(m_waiting.front());
        m_waiting.pop_front();
        start(std::move(next));
    }
    if (wanted) {
        if (!failure.isEmpty())
            emit failed(failure);
        else if (delivery)
            delivery();
    }
    if (!busy())
        emit busyChanged(false);
}

void JobRunner::showProgress(quint64 id, qint64 done, qint64 total, const QString &note)
{
    if (m_running && m_running->id == id && !m_running->token.canceled())
        emit progress(done, total, note);
}
