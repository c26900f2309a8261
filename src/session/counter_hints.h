#pragma once

#include <QString>

#include <initializer_list>

class Session;
enum class ListSide;

// The files take the counters, not the lists, and the list edits leave the counters alone:
// say so when they no longer agree, and how to bring them in line. Empty when they agree.
QString lwmCounterHint(const QString &counter, int entries);
QString vtpCounterHint(const QString &counter, int entries);
// After a list edit or a Create: `warning` and the hints of the counters of `sides`, the
// warnings first, joined by two blanks; empty when there is nothing to warn of.
QString counterHints(const Session &session, std::initializer_list<ListSide> sides,
                     const QString &warning = QString());
