#pragma once

#include "writers/source_writers.h"

#include <QByteArray>
#include <QLocale>

#include <vector>

// Reading back LWMSource.asm and VTPSource.asm in the exact line form the writers produce,
// whatever the file is called. Every line is checked against what the writer makes of the
// values read; the first line that does not fit throws OpenFault naming it. Lines ending in
// CR LF or in LF alone are read; CR alone is refused.

enum class SourceKind { Lwm, Vtp };

// Which writer's form the file claims by its first lines; nothing if neither.
std::optional<SourceKind> sourceKind(const QByteArray &bytes);

// An area file's polygons come back all, in file order; the first water polygon is the one
// the window edits (`inputs` holds it, or an empty list when there is none) and `listed` its
// place among them (-1: none). A file of one water polygon is the window's own: `polygons`
// is then empty and `inputs` holds it whole, its counter as written.
struct LwmReading
{
    LwmInputs inputs;
    bool lfOnly = false;
    std::vector<LwmPolygon> polygons;
    int listed = -1;
};

struct VtpReading
{
    VtpInputs inputs;
    bool lfOnly = false;
};

// Everything the file held, to write it again whole: every polygon, or the window's one.
LwmAreaInputs lwmAreaInputs(const LwmReading &reading);

// The degrees texts are told apart from the minutes by the header bounds, which are the
// degrees plus and minus one in `locale`; so Create writes the same bytes again.
LwmReading readLwmSource(const QByteArray &bytes, const QLocale &locale);
// The last entry comes back as it stood in the list: the writer's ", 0" -> ", 1" change is
// taken back (a point entry's last field is always 0).
VtpReading readVtpSource(const QByteArray &bytes, const QLocale &locale);

// The list entry that the writer turned into `written` as the last of the VTP block.
QString vtpLastEntryBeforeWriting(const QString &written);
