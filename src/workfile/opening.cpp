#include "workfile/opening.h"

#include "grid/lod_grid.h"
#include "workfile/source_reading.h"
#include "workfile/work_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

[[noreturn]] void fault(const QString &text)
{
    throw OpenFault{text};
}

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A work file names a picture; one that is there but is no ordinary file would hang or
// flood the image reader.
void checkImagePath(const QString &path)
{
    if (path.isEmpty())
        return;
    const QFileInfo image(path);
    if (image.isDir())
        fault(QStringLiteral("The image of this work file, %1, is a folder.").arg(shownPath(path)));
    if (image.exists() && !image.isFile())
        fault(QStringLiteral("The image of this work file, %1, is not an ordinary file.")
                  .arg(shownPath(path)));
}

// Decimal degrees are written in the locale of the run that saved them.
QString comparable(QString caption)
{
    return caption.replace(u',', u'.');
}

// The typed texts may hold anything the user can type; what Calculate wrote must be what it
// gives for the texts it read, so that a hand-edited cell or area that the coordinates
// contradict never reaches a file. A caption that Calculate did not reach (it stopped at a
// run-time error first) cannot be checked and is left as it is.
void checkDerived(const WorkState &s, const QLocale &locale)
{
    const TypedPosition &from = s.calculatedFrom;
    const GridCaptions c =
        calculateGrid({from.latDeg, from.latMin, from.longDeg, from.longMin}, locale);
    const struct
    {
        const char *key;
        const QString &stored;
        const std::optional<QString> &derived;
    } rows[] = {
        {"calculated.latitude", s.latDecimal, c.latDecimal},
        {"calculated.longitude", s.lngDecimal, c.lngDecimal},
        {"calculated.cellColumn", s.cellX, c.cellX},
        {"calculated.cellRow", s.cellY, c.cellY},
        {"calculated.areaColumn", s.areaX, c.areaX},
        {"calculated.areaRow", s.areaY, c.areaY},
    };
    for (const auto &row : rows) {
        if (row.stored.isEmpty() || !row.derived)
            continue;
        if (comparable(row.stored) != comparable(*row.derived))
            fault(QStringLiteral("\"%1\" is %2, but Calculate gives %3 for the position the file "
                                 "holds.")
                      .arg(QLatin1String(row.key), row.stored, *row.derived));
    }
}

bool startsAsJson(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return c == '{';
    }
    return false;
}

} // namespace

Opened openBytes(const QByteArray &bytes, const QString &name, const WorkState &current,
                 const QLocale &locale)
{
    if (const std::optional<SourceKind> kind = sourceKind(bytes)) {
        Opened opened{OpenedKind::LwmSource, current};
        if (*kind == SourceKind::Lwm) {
            const LwmReading r = readLwmSource(bytes, locale);
            putLwmSource(opened.state, r.inputs, locale);
            opened.lfOnly = r.lfOnly;
            opened.polygons = int(r.polygons.size());
            opened.listed = r.listed >= 0;
            opened.state.areaPolygons = r.polygons;
            if (r.listed >= 0)
                opened.state.areaPolygons.erase(opened.state.areaPolygons.begin() + r.listed);
        } else {
            const VtpReading r = readVtpSource(bytes, locale);
            putVtpSource(opened.state, r.inputs, locale);
            opened.kind = OpenedKind::VtpSource;
            opened.lfOnly = r.lfOnly;
        }
        return opened;
    }
    if (!startsAsJson(bytes) && !name.endsWith(QStringLiteral(".marlith"), Qt::CaseInsensitive))
        fault(QStringLiteral("This file is neither a Marlith work file nor an LWMSource.asm or "
                             "VTPSource.asm as Marlith writes them: line 1 does not begin with "
                             "\";----> FS Coordinates:\"."));
    WorkState state = readWorkFile(bytes);
    checkDerived(state, locale);
    checkImagePath(state.image.path);
    return {OpenedKind::WorkFile, state};
}

Opened openFile(const QString &path, const WorkState &current, const QLocale &locale)
{
    const QFileInfo info(path);
    if (info.isDir())
        fault(QStringLiteral("%1 is a folder, not a file.").arg(shownPath(path)));
    if (!info.exists())
        fault(QStringLiteral("There is no file %1.").arg(shownPath(path)));
    if (!info.isFile())
        fault(QStringLiteral("%1 is not an ordinary file.").arg(shownPath(path)));
    const QString tooLarge =
        QStringLiteral("The file is larger than %1 MiB; Marlith does not read it.")
            .arg(maxOpenBytes >> 20);
    if (info.size() > maxOpenBytes)
        fault(tooLarge);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fault(QStringLiteral("%1 could not be read: %2.").arg(shownPath(path), file.errorString()));
    // At most one byte past the limit, in case the file grew since it was measured.
    const QByteArray bytes = file.read(maxOpenBytes + 1);
    if (file.error() != QFileDevice::NoError)
        fault(QStringLiteral("%1 could not be read: %2.").arg(shownPath(path), file.errorString()));
    if (bytes.size() > maxOpenBytes)
        fault(tooLarge);
    return openBytes(bytes, info.fileName(), current, locale);
}

QString saveWorkFile(const QString &path, const WorkState &s)
{
    return replaceFile(path, workFileText(s));
}
