#pragma once

#include <QString>

// The files take the counters, not the lists, and the list edits leave the counters alone:
// say so when they no longer agree, and how to bring them in line. Empty when they agree.
QString lwmCounterHint(const QString &counter, int entries);
QString vtpCounterHint(const QString &counter, int entries);
