#include "session/counter_hints.h"

#include "session/session.h"
#include "text/numbers.h"

namespace {

QString counterText(const QString &counter)
{
    return counter.trimmed().isEmpty() ? QStringLiteral("empty") : counter.trimmed();
}

} // namespace

QString lwmCounterHint(const QString &counter, int entries)
{
    if (leadingNumber(counter) == entries)
        return QString();
    return QStringLiteral("LWM counter %1, but %2 entries in the list, and Create writes the "
                          "counter: type %2, or the next point sets it.")
        .arg(counterText(counter))
        .arg(entries);
}

QString counterHints(const Session &session, std::initializer_list<ListSide> sides,
                     const QString &warning)
{
    QStringList hints{warning};
    for (const ListSide side : sides) {
        const int entries = int(session.entries(side).size());
        hints << (side == ListSide::Lwm ? lwmCounterHint(session.text(Field::LwmCounter), entries)
                                        : vtpCounterHint(session.text(Field::VtpCounter), entries));
    }
    hints.removeAll(QString());
    return hints.join(QStringLiteral("  "));
}

QString vtpCounterHint(const QString &counter, int entries)
{
    const double reads = leadingNumber(counter);
    if (entries == 0) {
        if (reads <= 1)
            return QString();
        return QStringLiteral("VTP list empty, but its counter reads %1: the next point would "
                              "start no line. Type 0 to start a new line.")
            .arg(counterText(counter));
    }
    const int points = entries - 2; // the two width entries of a line's start
    if (reads == points)
        return QString();
    const QString fix = points >= 0
                            ? QStringLiteral("type %1, or the next point sets it").arg(points)
                            : QStringLiteral("the next point sets it");
    return QStringLiteral("VTP counter %1, but the list's %2 entries make %3 points, and Create "
                          "writes the counter: %4.")
        .arg(counterText(counter))
        .arg(entries)
        .arg(points)
        .arg(fix);
}
