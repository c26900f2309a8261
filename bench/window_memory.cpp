// Memory of the real window: idle, then with both lists filled by presses, then after both
// Create commands. Prints one JSON object; run as `window_memory [entries]`.
#include "window_support.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Sample
{
    qint64 rssKiB, hwmKiB;
};

Sample sample()
{
    return {bench::statusKiB("VmRSS"), bench::statusKiB("VmHWM")};
}

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    QTemporaryDir folder;

    bench::RealWindow real(folder.path());
    if (!bench::showUntilPainted(real.window.get())) {
        std::fprintf(stderr, "the window was never painted\n");
        return 1;
    }
    settle();
    const Sample idle = sample();

    QElapsedTimer clock;
    clock.start();
    real.fillTo(entries, 100);
    const qint64 fillMs = clock.elapsed();
    // A repaint of the window with the full lists and the whole shape.
    real.window->update();
    real.window->repaint();
    settle();
    const Sample filled = sample();

    // Counts that fit the files' byte fields, so that both files are really written.
    real.set("txtlwmnumber", QStringLiteral("200"));
    real.set("txtvtpnumber", QStringLiteral("30"));
    real.window->cmdcreatelwm_Click();
    real.window->cmdcreatevtp_Click();
    settle();
    const Sample created = sample();
    const bool wrote = QFileInfo(real.window->LWMFilePath()).size() > 0
                       && QFileInfo(real.window->VTPFilePath()).size() > 0
                       && real.desktop.messages.empty();

    std::printf("{\"entries\": %d, \"lwm\": %d, \"vtp\": %d, \"fill_ms\": %lld, "
                "\"idle_rss_kib\": %lld, \"idle_hwm_kib\": %lld, "
                "\"filled_rss_kib\": %lld, \"filled_hwm_kib\": %lld, "
                "\"created_rss_kib\": %lld, \"created_hwm_kib\": %lld, \"files_written\": %s}\n",
                entries, real.lwmList()->count(), real.vtpList()->count(), fillMs, idle.rssKiB,
                idle.hwmKiB, filled.rssKiB, filled.hwmKiB, created.rssKiB, created.hwmKiB,
                wrote ? "true" : "false");
    return wrote || entries == 0 ? 0 : 1;
}
