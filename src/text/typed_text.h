#pragma once

#include <QString>
#include <QStringView>

// The one rule for text that comes in, wherever it comes from (a field, a paste, the insert
// box, a work file, a reopened source, an imported name): a tab becomes a blank, and line
// breaks and other control characters are dropped. What Save writes, Open then accepts, and
// what the writers write, the readers read back.
QString typedText(QStringView text);

// True when the text already obeys the rule.
bool isTypedText(QStringView text);
