#include "event_loop.h"
#include "jobs/job_runner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <array>
#include <semaphore>
#include <vector>

namespace {

// Opened by the test, waited on by a job, so that the test decides when a job ends.
struct Gate
{
    std::counting_semaphore<8> open{0};
    void release() { open.release(); }
    // A job waits at most a few seconds, so that a faulty runner fails the test, not CI.
    bool pass() { return open.try_acquire_for(std::chrono::seconds(5)); }
};

class JobRunnerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ensureCoreApplication(); }
};

TEST_F(JobRunnerTest, DeliversResultAndProgressOnTheOwnersThread)
{
    JobRunner runner(JobRunner::Policy::Queued);
    QThread *owner = QThread::currentThread();
    QThread *worker = nullptr;
    std::vector<qint64> steps;
    std::optional<int> result;
    std::vector<bool> busy;
    QObject::connect(&runner, &JobRunner::busyChanged, [&](bool b) { busy.push_back(b); });
    QObject::connect(&runner, &JobRunner::progress,
                     [&](qint64 done, qint64 total, const QString &) {
                         EXPECT_EQ(QThread::currentThread(), owner);
                         EXPECT_EQ(total, 3);
                         steps.push_back(done);
                     });
    runner.run(
        [&worker](JobControl &job) {
            worker = QThread::currentThread();
            for (int i = 1; i <= 3; ++i)
                job.progress(i, 3);
            return 42;
        },
        [&](int value) {
            EXPECT_EQ(QThread::currentThread(), owner);
            result = value;
        });
    EXPECT_TRUE(runner.busy());
    ASSERT_TRUE(waitFor([&] { return !runner.busy(); }));
    EXPECT_EQ(result, 42);
    EXPECT_NE(worker, owner);
    // Merged steps may skip some, but the last one always arrives, in order.
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), 3);
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
}

TEST_F(JobRunnerTest, PoliciesDecideWhichJobsRunAndDeliver)
{
    struct Case
    {
        JobRunner::Policy policy;
        std::vector<int> ran, delivered;
    };
    const Case cases[] = {
        // The first was running and is told to stop; the second never starts.
        {JobRunner::Policy::LatestOnly, {1, 3}, {3}},
        {JobRunner::Policy::Queued, {1, 2, 3}, {1, 2, 3}},
    };
    for (const Case &c : cases) {
        JobRunner runner(c.policy);
        Gate first;
        std::vector<int> ran, delivered; // ran: written on the worker, one job at a time
        std::atomic<bool> firstSawCancel = false;
        runner.run(
            [&](JobControl &job) {
                ran.push_back(1);
                first.pass();
                firstSawCancel = job.canceled();
                return 1;
            },
            [&](int v) { delivered.push_back(v); });
        for (int n : {2, 3})
            runner.run(
                [&ran, n](JobControl &) {
                    ran.push_back(n);
                    return n;
                },
                [&delivered](int v) { delivered.push_back(v); });
        first.release();
        ASSERT_TRUE(waitFor([&] { return !runner.busy(); }));
        EXPECT_EQ(ran, c.ran);
        EXPECT_EQ(delivered, c.delivered);
        EXPECT_EQ(firstSawCancel, c.policy == JobRunner::Policy::LatestOnly);
    }
}

TEST_F(JobRunnerTest, CancelStopsTheJobAndDeliversNothing)
{
    JobRunner runner(JobRunner::Policy::Queued);
    Gate started, checked;
    bool delivered = false;
    int progressShown = 0;
    QObject::connect(&runner, &JobRunner::progress, [&] { ++progressShown; });
    runner.run(
        [&](JobControl &job) {
            started.release();
            while (!job.canceled())
                QThread::usleep(100);
            job.progress(1, 1); // said after the cancel: never shown
            checked.release();
            return 0;
        },
        [&](int) { delivered = true; });
    ASSERT_TRUE(started.pass());
    runner.cancel();
    // Busy until the job has really stopped, so a new one never overlaps it.
    EXPECT_TRUE(runner.busy());
    ASSERT_TRUE(checked.pass());
    ASSERT_TRUE(waitFor([&] { return !runner.busy(); }));
    EXPECT_FALSE(delivered);
    EXPECT_EQ(progressShown, 0);
}

TEST_F(JobRunnerTest, DestroyingTheRunnerNeverWaitsForItsJob)
{
    // Shared with the job, which outlives this test's scope by a few instructions.
    auto gates = std::make_shared<std::array<Gate, 3>>();
    auto &[started, release, ended] = *gates;
    auto sawCancel = std::make_shared<std::atomic<bool>>(false);
    bool delivered = false;
    QElapsedTimer timer;
    {
        JobRunner runner(JobRunner::Policy::LatestOnly);
        runner.run(
            [gates, sawCancel](JobControl &job) {
                auto &[started, release, ended] = *gates;
                started.release();
                release.pass();
                *sawCancel = job.canceled();
                job.progress(1, 1);
                ended.release();
                return 0;
            },
            [&](int) { delivered = true; });
        ASSERT_TRUE(started.pass());
        timer.start();
    }
    EXPECT_LT(timer.elapsed(), 1000);
    release.release();
    ASSERT_TRUE(ended.pass());
    QThread::msleep(20);
    QCoreApplication::processEvents();
    EXPECT_TRUE(*sawCancel);
    EXPECT_FALSE(delivered);
}

TEST_F(JobRunnerTest, AJobThatThrowsIsReportedAndTheNextRuns)
{
    JobRunner runner(JobRunner::Policy::Queued);
    QString failure;
    int next = 0;
    QObject::connect(&runner, &JobRunner::failed, [&](const QString &what) { failure = what; });
    runner.run([](JobControl &) -> int { throw std::runtime_error("disk on fire"); },
               [](int) { ADD_FAILURE() << "a job that threw delivered"; });
    runner.run([](JobControl &) { return 7; }, [&](int v) { next = v; });
    ASSERT_TRUE(waitFor([&] { return !runner.busy(); }));
    EXPECT_EQ(failure, QStringLiteral("disk on fire"));
    EXPECT_EQ(next, 7);
}

} // namespace
