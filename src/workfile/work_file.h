#pragma once

#include "workfile/work_state.h"

#include <QByteArray>
#include <QString>

// Why a file cannot be opened, in words for the user. Thrown by the readers; Open catches
// it before anything in the window has changed.
struct OpenFault
{
    QString text;
};

// Sizes past which a file is refused before it is read or parsed.
inline constexpr qint64 maxOpenBytes = qint64(256) << 20;
inline constexpr qsizetype maxListEntries = 1'000'000;

inline const QString workFileFilter = QStringLiteral("Marlith work (*.marlith)");
inline constexpr int workFileVersion = 2;

// The work file: the work under domain keys as a JSON object with a format name and a
// version, UTF-8, numbers with ".". Version 1, keyed by the controls' names, is still read.
QByteArray workFileText(const WorkState &s);

// The work a work file holds, checked whole: any missing or mistyped key, a selection outside
// its list or a newer version throws OpenFault. Texts obey the rule for typed text. Keys
// this version does not know are ignored.
WorkState readWorkFile(const QByteArray &bytes);
