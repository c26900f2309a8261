#pragma once

#include <QLocale>
#include <QString>

struct TypedPosition;

// Texts the files and Calculate take as typed, though they are most likely a slip: say so in
// the status line, and how to mend it. Each is empty when there is nothing to say.

// A VTP line type that names none of the catalogue's: the start text, a heading, a separator.
QString lineTypeHint(const QString &lineType);
// Minutes outside 0 <= m < 60 still count and carry into the next degree (47° 75.5' is
// 48.258°): which minutes did so and the position Calculate took from them.
QString minutesHint(const TypedPosition &typed, const QLocale &locale);
