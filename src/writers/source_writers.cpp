#include "writers/source_writers.h"

#include "text/numbers.h"
#include "text/runtime_error.h"
#include "text/typed_text.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>
#include <system_error>
#include <vector>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const QString crlf = QStringLiteral("\r\n");

// The last entry of a VTP line, its first ", 0" turned into ", 1" to end the line.
QString closedLastEntry(QString last)
{
    const qsizetype at = last.indexOf(QStringLiteral(", 0"));
    if (at >= 0)
        last.replace(at, 3, QStringLiteral(", 1"));
    return last;
}

// Collects the lines of one file straight into its single-byte form (Latin-1; every other
// character becomes "?"); appending keeps the build linear in the entries.
class Lines
{
public:
    explicit Lines(qsizetype expectedSize) { m_bytes.reserve(expectedSize); }
    // Every text the writer copies passes through here, so no control character reaches a
    // line of the file, whatever the caller held.
    Lines &operator<<(QStringView line)
    {
        if (!isTypedText(line))
            return append(typedText(line));
        return append(line);
    }
    // The LWM list block: every entry on its own line, then the block's own line end.
    void lwmList(const QStringList &entries)
    {
        for (const QString &e : entries)
            *this << e;
        *this << QStringView();
    }
    // The VTP list block, whose last entry has its first ", 0" turned into ", 1". The entries
    // go straight into the bytes: building the block as one text first cost a UTF-16 copy of
    // the whole list, most of a long file's time.
    void vtpList(const QStringList &entries)
    {
        if (entries.isEmpty()) {
            *this << QStringView();
            return;
        }
        for (qsizetype i = 0; i + 1 < entries.size(); ++i)
            *this << entries[i];
        // Typed first, so that the ", 0" changed is the one the file shows.
        *this << closedLastEntry(typedText(entries.last()));
    }
    QByteArray bytes() const { return m_bytes; }

private:
    Lines &append(QStringView line)
    {
        const qsizetype at = m_bytes.size();
        m_bytes.resize(at + line.size() + 2);
        char *out = m_bytes.data() + at;
        for (QChar c : line)
            *out++ = c.unicode() > 0xFF ? '?' : char(c.unicode());
        *out++ = '\r';
        *out = '\n';
        return *this;
    }

    QByteArray m_bytes;
};

qsizetype blockSize(const QStringList &entries)
{
    qsizetype size = 4096;
    for (const QString &e : entries)
        size += e.size() + 2;
    return size;
}

// The typed degrees, read strictly in the user's locale; a failure says which field.
double typedDegrees(const QString &text, const char *which, const QLocale &locale)
{
    try {
        // As the file will show them, so that reading it back finds the same bounds.
        return strictNumber(typedText(text), locale);
    } catch (RuntimeError &e) {
        e.setDetail(e.number() == RuntimeError::TypeMismatch
                        ? QStringLiteral("the %1 degrees \"%2\" are no number in this system's "
                                         "format (decimal separator \"%3\")")
                              .arg(QLatin1String(which), text, locale.decimalPoint())
                        : QStringLiteral("the %1 degrees \"%2\" are too large a number")
                              .arg(QLatin1String(which), text));
        throw;
    }
}

// The count a counter gives the file: one byte.
int pointCount(const QString &counter, const char *which)
{
    const double value = leadingNumber(counter);
    try {
        return roundToByte(value);
    } catch (RuntimeError &e) {
        e.setDetail(value > 0 ? QStringLiteral("the %1 counter %2 is above 255, the most a file "
                                               "can hold")
                                    .arg(QLatin1String(which), counter.trimmed())
                              : QStringLiteral("the %1 counter %2 is below 0")
                                    .arg(QLatin1String(which), counter.trimmed()));
        throw;
    }
}

// North, south, east, west: the typed whole degrees plus and minus one.
QStringList headerBounds(const QString &latDeg, const QString &longDeg, const QLocale &locale)
{
    const double lat = typedDegrees(latDeg, "latitude", locale);
    const QString north = numberText(lat + 1, QLocale::c());
    const QString south = numberText(lat - 1, QLocale::c());
    const double lng = typedDegrees(longDeg, "longitude", locale);
    return {north, south, numberText(lng + 1, QLocale::c()), numberText(lng - 1, QLocale::c())};
}

QString coordinatesComment(const QString &latDeg, const QString &latMin, const QString &longDeg,
                           const QString &longMin)
{
    return QStringLiteral(";----> FS Coordinates:    ") + latDeg + u' ' + latMin
           + QStringLiteral("   ") + longDeg + u' ' + longMin;
}

// Both files start by naming the SDK files the compiler must find beside them.
void includeLines(Lines &l)
{
    l << QStringLiteral(";----> The next two files MUST be included within the same directory as")
      << QStringLiteral(";----> BGLC.exe when this file is assembled (compiled).") << QString()
      << QStringLiteral("include TDFHeaders.inc") << QStringLiteral("include TDFMacros.inc")
      << QString() << QStringLiteral(";----> Begin Header Section <----") << QString();
}

} // namespace

namespace {

// The polygon line: from 63 points on the polygon needs the extended form, which counts the
// rest apart. The third field is the fill.
QString polygonLine(int n, LwmFill fill, const QString &altitude)
{
    const QString attrib = QString::number(int(fill));
    if (n <= 62)
        return QStringLiteral("LWMPoly2  ") + twoDigit(n) + QStringLiteral(", 0, ") + attrib
               + QStringLiteral(", ") + altitude + QStringLiteral(", 0");
    return QStringLiteral("LWMPoly2Ex  63, 0, ") + attrib + QStringLiteral(", ") + altitude
           + QStringLiteral(", 0, ") + QString::number(n - 63);
}

// Up to 6 polygons the header counts them itself; the extended header counts those beyond 7.
QString areaHeader(qsizetype polygons, const QString &areaX, const QString &areaY)
{
    const QString place = QStringLiteral(", 3, 1, ") + areaX + QStringLiteral(", ") + areaY;
    if (polygons <= lwmPlainPolygonLimit)
        return QStringLiteral("LWMDataAreaDrawPolygons ") + QString::number(polygons) + place;
    return QStringLiteral("LWMDataAreaDrawPolygonsEx 7") + place + QStringLiteral(", ")
           + QString::number(polygons - 7);
}

QByteArray lwmText(const LwmAreaInputs &in, const QLocale &locale)
{
    const qsizetype polygons = qsizetype(in.polygons.size());
    if (polygons > lwmPolygonLimit)
        throw RuntimeError(RuntimeError::Overflow,
                           QStringLiteral("area %1, %2 of cell %3_%4 holds %5 polygons; one "
                                          "area takes at most %6")
                               .arg(in.areaX, in.areaY, in.cellX, in.cellY)
                               .arg(polygons)
                               .arg(lwmPolygonLimit));
    // Degrees and counts are read first, in the window's order, so that a bad one costs
    // nothing built.
    const QStringList b = headerBounds(in.latDeg, in.longDeg, locale);
    std::vector<int> counts;
    qsizetype size = 0;
    for (const LwmPolygon &p : in.polygons) {
        counts.push_back(pointCount(p.lwmNumber, "LWM"));
        size += blockSize(p.entries);
    }
    const QString cell = in.cellX + u'_' + in.cellY;
    Lines l(size);
    l << coordinatesComment(in.latDeg, in.latMin, in.longDeg, in.longMin) << QString();
    includeLines(l);
    l << QStringLiteral("BGLHeader          ") + b.join(QStringLiteral(", "))
             + QStringLiteral(", LWMHeader, TerrainHeaderStart")
      << QString() << QStringLiteral("LWMHeader        label        word") << QString()
      << QStringLiteral("                  LWMFileHeader 513, LWMIndexStart, LWMStart, LWMEnd")
      << QString() << QStringLiteral("LWMStart           label        word") << QString()
      << QStringLiteral(";----> End Header Section <----") << QString()
      << QStringLiteral(";----> Begin Cell_") + cell
             + QStringLiteral("'s ----> Area (LOD 13) data information <----")
      << QString() << QStringLiteral("                  datamark_0        label        word")
      << QString()
      << QStringLiteral(";----> The next two lines begin your LOD 13 area data.  If you have "
                        "more than one LOD 13")
      << QStringLiteral(";----> area then you need these two lines to start the next and each "
                        "successive LOD 13 area as well.")
      << QStringLiteral(";----> See Help menu for parameter information and explanations.")
      << QString() << areaHeader(polygons, in.areaX, in.areaY) << QString();
    for (std::size_t i = 0; i < in.polygons.size(); ++i) {
        l << polygonLine(counts[i], in.polygons[i].fill, in.altitude) << QString();
        l.lwmList(in.polygons[i].entries);
    }
    l << QString()
      << QStringLiteral("                  datamark_1        label        word   ;----> This "
                        "line goes under all LOD 13 areas used in this file")
      << QString()
      << QStringLiteral(";----> End Cell_") + cell
             + QStringLiteral("'s ----> Area (LOD 13) data information <----")
      << QString()
      << QStringLiteral(";----> Begin Cell_") + cell
             + QStringLiteral("'s defination data information <----")
      << QString()
      << QStringLiteral(";----> Please see Help menu for parameter information and explanations.")
      << QString()
      << QStringLiteral("Cell_") + cell + QStringLiteral("       EQU        LWMCellID   0, 0, 3, ")
             + in.cellX + QStringLiteral(", ") + in.cellY
      << QString() << QStringLiteral("                  LWMIndexStart        label        word")
      << QString() << QStringLiteral("                         LWMIndexHeader   1, LWMIndexData")
      << QString() << QStringLiteral("                  LWMIndexData         label        word")
      << QString()
      << QStringLiteral("                         LWMIndexEntry      Cell_") + cell
             + QStringLiteral(", LWMStart, datamark_0, datamark_1")
      << QString()
      << QStringLiteral(";----> End Cell_") + cell
             + QStringLiteral("'s defination data information <----")
      << QString() << QStringLiteral(";----> The next line below ENDS this file <----") << QString()
      << QStringLiteral("LWMEnd        label        word") << QString();
    return l.bytes();
}

} // namespace

QByteArray lwmSourceText(const LwmInputs &in, const QLocale &locale)
{
    return lwmText({in.latDeg,
                    in.latMin,
                    in.longDeg,
                    in.longMin,
                    in.cellX,
                    in.cellY,
                    in.areaX,
                    in.areaY,
                    in.altitude,
                    {{LwmFill::Water, in.lwmNumber, in.entries}}},
                   locale);
}

QByteArray lwmAreaText(const LwmAreaInputs &in, const QLocale &locale)
{
    return lwmText(in, locale);
}

QByteArray vtpSourceText(const VtpInputs &in, const QLocale &locale)
{
    const QString cell = in.cellX + u'_' + in.cellY;
    Lines l(blockSize(in.entries) + 6 * in.lineType.size());
    l << coordinatesComment(in.latDeg, in.latMin, in.longDeg, in.longMin)
      << QStringLiteral(";----> VTP Method2 road/line/shoreline") << QString();
    includeLines(l);
    const QStringList b = headerBounds(in.latDeg, in.longDeg, locale);
    l << QStringLiteral("BGLHeader          ") + b.join(QStringLiteral(", "))
             + QStringLiteral(", TerrainHeaderStart, VTPHeader")
      << QString() << QStringLiteral("VTPHeader        label        word")
      << QStringLiteral("    VTPFileHeader  256, VTPIndexStart, TextureStart, VTPEnd") << QString()
      << QStringLiteral(";----> End Header Section <----") << QString()
      << QStringLiteral(";----> Start File Data <----") << QString()
      << QStringLiteral("VTPStart        label        word")
      << QStringLiteral("datamark_v0        label        word") << QString()
      << QStringLiteral(";----> Begin Data Area Information <----") << QString()
      << QStringLiteral("VTPDataArea 1, 1, 0, 0")
      << QStringLiteral("VTPLayer ") + in.layer + QStringLiteral(", 0")
      << QStringLiteral("VTPNumTexturesInLayer 1, 0") << QStringLiteral("VTPTextureId 4, 0")
      << QStringLiteral("VTPPolyCount 1, 0") << QString();
    const int n = pointCount(in.vtpNumber, "VTP");
    // One polyline takes 31 points; the extended line carries the rest.
    const int count = n > 31 ? 31 : n;
    const int extra = n > 31 ? n - 31 : 0;
    l << QStringLiteral("VTPPolyMethod2 ") + twoDigit(count) + QStringLiteral(", 1, 0");
    if (extra > 0)
        l << QStringLiteral("VTPPolyMethod2Ex ") + twoDigit(extra);
    l << QString();
    l.vtpList(in.entries);
    l << QStringLiteral("VTPWidePointWidth 0") << QString()
      << QStringLiteral("datamark_v1        label        word") << QString()
      << QStringLiteral(";----> End Data Area Information <----") << QString()
      << QStringLiteral(";----> Begin Cell_") + cell
             + QStringLiteral("'s defination data information <----")
      << QString()
      << QStringLiteral("Cellv_") + cell + QStringLiteral("       EQU        VTPCellID   0, ")
             + in.cellX + QStringLiteral(", ") + in.cellY
      << QString() << QStringLiteral("VTPIndexStart        label        word")
      << QStringLiteral("VTPIndexHeader  1, VTPIndexData, VTPStart")
      << QStringLiteral("VTPIndexData        label        word")
      << QStringLiteral("VTPIndexEntry Cellv_") + cell
             + QStringLiteral(", VTPStart, datamark_v0, datamark_v1")
      << QString()
      << QStringLiteral(";----> End Cell_") + cell
             + QStringLiteral("'s defination data information <----")
      << QString() << QStringLiteral(";----> Begin Texture Information <----") << QString()
      << QStringLiteral("TextureStart        label        word")
      << QStringLiteral("VTPTextureListHeader 5, TextureIndexStart, TextureDataStart, "
                        "TextureDataEnd")
      << QString() << QStringLiteral("TextureIndexStart        label        word");
    for (int k = 0; k < 5; ++k)
        l << QStringLiteral("  VTPTextureListEntry TextureDataStart, texturemark_%1, "
                            "texturemark_%2")
                 .arg(k)
                 .arg(k + 1);
    l << QString() << QStringLiteral("TextureDataStart   label        word");
    for (int k = 0; k < 6; ++k)
        l << QStringLiteral("texturemark_%1       label        word").arg(k)
          << QStringLiteral("                   VTPTextureName ") + in.lineType
          << QStringLiteral("VTPTextureType 2, 0, 0, 4");
    l << QString() << QStringLiteral("TextureDataEnd    label        word") << QString()
      << QStringLiteral(";----> End Texture Information <----")
      << QStringLiteral(";----> The next line below ENDS this file <----") << QString()
      << QStringLiteral("VTPEnd        label        word") << QString();
    return l.bytes();
}

namespace {
QString folderFile(const QString &programFolder, const char *name)
{
    return programFolder + QDir::separator() + QLatin1String(name);
}
} // namespace

QString lwmSourcePath(const QString &programFolder)
{
    return folderFile(programFolder, "LWMSource.asm");
}

QString vtpSourcePath(const QString &programFolder)
{
    return folderFile(programFolder, "VTPSource.asm");
}

namespace {
#ifdef Q_OS_WIN
// Windows does not replace a file another program holds open (an editor, the compiler, a
// viewer); asked first, so that the reason is plain and nothing has been written yet.
bool heldOpenElsewhere(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
    // No sharing at all: any handle open on the file refuses this one.
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(native.utf16()), DELETE, 0,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(handle);
    return false;
}
#endif
} // namespace

QString replaceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    const QFileInfo existing(path);
    // QSaveFile would happily fail late on a directory, and would replace a read-only file
    // by renaming over it; both must fail before anything is written.
    if (existing.isDir())
        return QStringLiteral("a folder of that name is in the way");
    // Not WriteUser: that one says what this user may do, and an administrator may do all.
    constexpr QFile::Permissions anyWrite =
        QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (existing.exists() && (!existing.isWritable() || !(existing.permissions() & anyWrite)))
        return QStringLiteral("the file is read-only");
#ifdef Q_OS_WIN
    if (existing.exists() && heldOpenElsewhere(path))
        return QStringLiteral("another program has the file open; close it there and try again");
#endif
    // Unbuffered, so that a full disk shows at write(): a failing flush inside commit() is
    // not always reported, and the earlier file would be replaced by a cut-off one. An
    // uncommitted QSaveFile removes its temporary file and leaves the earlier one alone.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        || file.write(bytes) != bytes.size() || file.error() != QFileDevice::NoError
        || !file.commit()) {
        const QString why = file.errorString();
        return why.isEmpty() ? QStringLiteral("it could not be written") : why;
    }
    return QString();
}

void writeSourceFile(const QString &path, const QByteArray &bytes)
{
    const QString folder = QFileInfo(path).absolutePath();
    std::error_code error;
    // The standard library's call, because it tells the system's reason when it fails.
    std::filesystem::create_directories(std::filesystem::path(folder.toStdU16String()), error);
    if (error)
        throw RuntimeError(RuntimeError::PathFileAccess,
                           QStringLiteral("the folder %1 could not be made: %2")
                               .arg(QDir::toNativeSeparators(folder),
                                    QString::fromLocal8Bit(error.message().c_str())));
    if (const QString why = replaceFile(path, bytes); !why.isEmpty())
        throw RuntimeError(
            RuntimeError::PathFileAccess,
            QStringLiteral("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), why));
}
