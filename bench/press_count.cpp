// Instructions of a press at several list lengths, counted by callgrind, which gives the same
// figures however busy the machine is. Run as
//   valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file=OUT \
//       press_count PRESSES LENGTH...
// For each length, in rising order, the lists are filled to it and PRESSES presses are
// counted, then a tenth as many, each taken back before the next press (an undo redraws the
// whole shape, which under valgrind takes a second at 100 000 entries); every group
// ends in a dump of its own (OUT.1, OUT.2, ...), named by the line this prints for it. Only
// the handler is counted; the window handles its events between the presses, as between a
// user's clicks.
#include "session/session.h"
#include "window_support.h"

#include <QApplication>
#include <QUndoStack>

#include <valgrind/callgrind.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Filled as one step, as an import fills them: pressing them one by one under valgrind
// would take minutes.
void fillTo(bench::RealWindow &real, int entries)
{
    std::vector<ImagePosition> positions;
    for (int i = real.lwmList()->count(); i < entries; ++i)
        positions.push_back({double(i % 256) + 0.5, double(i / 256 % 256) + 0.5});
    real.window->session().pressPixels(positions, QStringLiteral("Fill"));
    settle();
}

void pressCounted(bench::RealWindow &real, int presses, bool undo)
{
    for (int i = 0; i < presses; ++i) {
        CALLGRIND_START_INSTRUMENTATION;
        real.window->Picture1_MouseDown(QPointF(20.5 + double(i % 200), 100.5));
        CALLGRIND_STOP_INSTRUMENTATION;
        if (undo)
            real.window->session().history()->undo();
        QCoreApplication::processEvents();
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int presses = argc > 1 ? QByteArray(argv[1]).toInt() : 100;
    bench::RealWindow real;
    if (!bench::showUntilPainted(real.window.get()) || presses <= 0)
        return 1;
    for (int arg = 2; arg < argc; ++arg) {
        const int entries = QByteArray(argv[arg]).toInt();
        if (entries < real.lwmList()->count())
            return 1;
        for (const bool undo : {false, true}) {
            fillTo(real, entries);
            const int before = real.lwmList()->count();
            const int counted = undo ? std::max(1, presses / 10) : presses;
            pressCounted(real, counted, undo);
            CALLGRIND_DUMP_STATS;
            const int added = real.lwmList()->count() - before;
            if (added != (undo ? 0 : counted))
                return 1;
            std::printf("%d %d %s\n", entries, counted, undo ? "after-undo" : "in-a-row");
        }
    }
    return 0;
}
