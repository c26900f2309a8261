#pragma once

#include "writers/source_writers.h"

#include <QByteArray>
#include <QLocale>

// Reading back LWMSource.asm and VTPSource.asm in the exact line form the writers produce,
// whatever the file is called. Every line is checked against what the writer makes of the
// values read; the first line that does not fit throws OpenFault naming it. Lines ending in
// CR LF or in LF alone are read; CR alone is refused.

enum class SourceKind { Lwm, Vtp };

// Which writer's form the file claims by its first lines; nothing if neither.
std::optional<SourceKind> sourceKind(const QByteArray &bytes);

struct LwmReading
{
    LwmInputs inputs;
    bool lfOnly = false;
};

struct VtpReading
{
    VtpInputs inputs;
    bool lfOnly = false;
};

// The degrees texts are told apart from the minutes by the header bounds, which are the
// degrees plus and minus one in `locale`; so Create writes the same bytes again.
LwmReading readLwmSource(const QByteArray &bytes, const QLocale &locale);
// The last entry comes back as it stood in the list: the writer's ", 0" -> ", 1" change is
// taken back (a point entry's last field is always 0).
VtpReading readVtpSource(const QByteArray &bytes, const QLocale &locale);

// The list entry that the writer turned into `written` as the last of the VTP block.
QString vtpLastEntryBeforeWriting(const QString &written);
