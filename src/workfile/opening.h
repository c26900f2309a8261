#pragma once

#include "workfile/work_state.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

enum class OpenedKind { WorkFile, LwmSource, VtpSource };

// What Open puts in the window, decided before the window changes.
struct Opened
{
    OpenedKind kind = OpenedKind::WorkFile;
    WorkState state;
    bool lfOnly = false; // a source whose lines end in LF alone
    int polygons = 0;    // of an area file with more than the window's one water polygon
    bool listed = false; // one of them, the first water polygon, went into the list
};

// The file at `path`, read whole: a work file gives the state it holds; an LWMSource.asm or
// VTPSource.asm (whatever its name) changes its own side of `current`. Refuses, before
// reading, anything that is not an ordinary file or is larger than 256 MiB. Throws
// OpenFault naming the fault.
Opened openFile(const QString &path, const WorkState &current, const QLocale &locale);
// The same for bytes already read; `name` tells a work file from a source when the content
// cannot.
Opened openBytes(const QByteArray &bytes, const QString &name, const WorkState &current,
                 const QLocale &locale);

// Writes the work file whole or not at all; the empty text on success, else why not.
QString saveWorkFile(const QString &path, const WorkState &s);
