#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>

#include <optional>

// For GoogleTest programs whose objects need an event loop: one application, made by the first
// suite that asks, kept to the end of the program.
inline void ensureCoreApplication()
{
    static int argc = 1;
    static char name[] = "tests";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Runs the event loop until `done` holds or `ms` pass; says whether it holds.
template <typename Done>
bool waitFor(Done done, int ms = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return done();
}

// The argument of the next `signal` of `sender`, or none when `ms` pass first. `start` runs
// once the loop listens, so that an answer at once is not missed. The time is kept by a clock,
// not by a timer of the event loop: where the loop cannot deliver timers (Windows when the
// event dispatcher gets no window, as under a starved Wine) a test fails instead of hanging.
template <typename Sender, typename Arg, typename Start>
std::optional<Arg> nextOf(Sender &sender, void (Sender::*signal)(const Arg &), int ms, Start start)
{
    std::optional<Arg> result;
    const auto connection = QObject::connect(&sender, signal, &sender, [&](const Arg &a) {
        if (!result)
            result = a;
    });
    if (start())
        waitFor([&] { return result.has_value(); }, ms);
    QObject::disconnect(connection);
    return result;
}
