#include "workfile/source_reading.h"

#include "text/numbers.h"
#include "text/runtime_error.h"
#include "text/typed_text.h"
#include "workfile/work_file.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace {

[[noreturn]] void fault(const QString &text)
{
    throw OpenFault{text};
}

const QString lwmName = QStringLiteral("an LWMSource.asm");
const QString vtpName = QStringLiteral("a VTPSource.asm");
const QString coordinatesPrefix = QStringLiteral(";----> FS Coordinates:    ");

// The file cut into its lines, the line ends checked: all CR LF, or all LF alone.
class SourceLines
{
public:
    explicit SourceLines(const QByteArray &bytes);

    qsizetype size() const { return qsizetype(m_lines.size()); }
    QByteArrayView raw(qsizetype i) const { return i < size() ? m_lines[i] : QByteArrayView(); }
    // Single-byte text; beyond the end, the null text, which no line form matches.
    QString text(qsizetype i) const
    {
        return i < size() ? QString::fromLatin1(m_lines[i]) : QString();
    }
    bool lfOnly() const { return m_lfOnly; }

private:
    std::vector<QByteArrayView> m_lines;
    // The typed form of the lines that held control characters; moving one keeps its bytes
    // where the view points.
    std::vector<QByteArray> m_typed;
    bool m_lfOnly = false;
};

SourceLines::SourceLines(const QByteArray &bytes)
{
    const qsizetype firstLf = bytes.indexOf('\n');
    if (firstLf < 0) {
        if (bytes.contains('\r'))
            fault(QStringLiteral("The lines of this file end in CR alone. Marlith reads lines that "
                                 "end in CR LF, or in LF alone."));
        fault(QStringLiteral("The file has no line end at all: it is cut off."));
    }
    // A generous bound on the lines of two full lists, checked before any is kept.
    if (bytes.count('\n') > maxListEntries + 200)
        fault(QStringLiteral("The file holds more lines than Marlith keeps in a list (at most %1).")
                  .arg(maxListEntries));
    m_lfOnly = firstLf == 0 || bytes[firstLf - 1] != '\r';
    qsizetype start = 0;
    for (qsizetype lf = firstLf; lf >= 0; lf = bytes.indexOf('\n', start)) {
        const qsizetype number = size() + 1;
        qsizetype end = lf;
        if (!m_lfOnly) {
            if (end == start || bytes[end - 1] != '\r')
                fault(QStringLiteral("Line %1 ends in LF alone, unlike the lines before it.")
                          .arg(number));
            --end;
        }
        const QByteArrayView line(bytes.constData() + start, end - start);
        if (line.contains('\r'))
            fault(m_lfOnly && line.endsWith('\r')
                      ? QStringLiteral("Line %1 ends in CR LF, unlike the lines before it.")
                            .arg(number)
                      : QStringLiteral("Line %1 holds a CR that does not end it.").arg(number));
        if (line.contains('\0'))
            fault(QStringLiteral("Line %1 holds a NUL character.").arg(number));
        // Read as typed text: a tab is a blank, other control characters are dropped, so that
        // what comes back into the window obeys the one rule and writes again as read.
        // The bytes are looked at first, to spare a million-line file a copy of every line.
        if (std::any_of(line.begin(), line.end(),
                        [](char c) { return uchar(c) < 0x20 || c == 0x7f; })) {
            m_typed.push_back(typedText(QString::fromLatin1(line)).toLatin1());
            m_lines.emplace_back(m_typed.back());
        } else {
            m_lines.push_back(line);
        }
        start = lf + 1;
    }
    if (start < bytes.size())
        fault(QStringLiteral("The file is cut off: line %1 has no line end.").arg(size() + 1));
}

// Keeps the first line found not to fit; a value that cannot be read from its line leaves a
// stand-in that changes no earlier line, so the comparison with the writer still finds an
// earlier misfit if there is one.
class Misfits
{
public:
    explicit Misfits(const QString &fileName) : m_fileName(fileName) {}
    void at(qsizetype line)
    {
        if (m_first < 0 || line < m_first)
            m_first = line;
    }
    // Every line checked against what the writer makes of the values read, except the
    // coordinate and header lines, which are read in their own way.
    void compare(const SourceLines &file, const QByteArray &written, qsizetype headerLine,
                 qsizetype unread = -1)
    {
        // A file cut off (or changed) at its end has its lines out of place from the entries
        // on; that, not the first line out of place, is the fault to name.
        const QByteArrayView lastLine = QByteArrayView(written).chopped(4).sliced(
            QByteArrayView(written).chopped(4).lastIndexOf('\n') + 1);
        m_cutOff = file.size() < 2 || !file.raw(file.size() - 1).isEmpty()
                   || file.raw(file.size() - 2) != lastLine;
        qsizetype at = 0, i = 0;
        for (; at < written.size() && (m_first < 0 || i < m_first); ++i) {
            const qsizetype end = written.indexOf("\r\n", at);
            const QByteArrayView expected(written.constData() + at, end - at);
            if (i >= file.size()
                || (i != 0 && i != headerLine && i != unread && file.raw(i) != expected))
                this->at(i);
            at = end + 2;
        }
        if (at >= written.size() && i < file.size())
            this->at(i);
    }
    void report(const SourceLines &file) const
    {
        if (m_cutOff || m_first >= file.size())
            fault(QStringLiteral("The file does not end as Marlith ends %2: it is cut off after "
                                 "line %1, or its end was changed.")
                      .arg(file.size())
                      .arg(m_fileName));
        if (m_first < 0)
            return;
        QString shown = file.text(m_first);
        if (shown.size() > 80)
            shown = shown.left(80) + QStringLiteral("...");
        fault(QStringLiteral("Line %1 is not as Marlith writes %2:\n%3")
                  .arg(m_first + 1)
                  .arg(m_fileName, shown));
    }

private:
    QString m_fileName;
    qsizetype m_first = -1;
    bool m_cutOff = false;
};

// The four header bounds, each a number as the writer writes it; nothing if the line does
// not have that form.
std::optional<QStringList> headerBounds(const QString &line, const QRegularExpression &form)
{
    const QRegularExpressionMatch m = form.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    const QStringList bounds = m.captured(1).split(QStringLiteral(", "));
    if (bounds.size() != 4)
        return std::nullopt;
    for (const QString &b : bounds) {
        try {
            if (numberText(strictNumber(b, QLocale::c()), QLocale::c()) != b)
                return std::nullopt;
        } catch (const RuntimeError &) {
            return std::nullopt;
        }
    }
    return bounds;
}

bool boundsFit(const QString &degrees, const QString &plus, const QString &minus,
               const QLocale &locale)
{
    try {
        const double d = strictNumber(degrees, locale);
        return numberText(d + 1, QLocale::c()) == plus && numberText(d - 1, QLocale::c()) == minus;
    } catch (const RuntimeError &) {
        return false;
    }
}

struct Coordinates
{
    QString latDeg, latMin, longDeg, longMin;
};

// The comment joins the four texts with " ", "   " and " ", which texts with blanks of their
// own make ambiguous. The first split whose degrees give the header bounds is taken, else
// the first split of all; either way the writer writes the same line and bounds again.
std::optional<Coordinates> splitCoordinates(const QString &line,
                                            const std::optional<QStringList> &bounds,
                                            const QLocale &locale)
{
    if (!line.startsWith(coordinatesPrefix))
        return std::nullopt;
    const QString rest = line.mid(coordinatesPrefix.size());
    const QString gap = QStringLiteral("   ");
    auto split = [&](qsizetype i, qsizetype j, qsizetype k) {
        return Coordinates{rest.left(i), rest.mid(i + 1, j - i - 1), rest.mid(j + 3, k - j - 3),
                           rest.mid(k + 1)};
    };
    const qsizetype i0 = rest.indexOf(u' ');
    const qsizetype j0 = i0 < 0 ? -1 : rest.indexOf(gap, i0 + 1);
    const qsizetype k0 = j0 < 0 ? -1 : rest.indexOf(u' ', j0 + 3);
    if (k0 < 0 || !bounds)
        return k0 < 0 ? std::nullopt : std::optional(split(i0, j0, k0));
    // Blanks around a degrees text do not change its value, so each trimmed text is parsed
    // once; a line of thousands of blanks still gives up after a bounded number of tries.
    QHash<QStringView, bool> latFits, longFits;
    auto fits = [&](QHash<QStringView, bool> &known, QStringView degrees, int first) {
        const QStringView key = degrees.trimmed();
        auto at = known.find(key);
        if (at == known.end())
            at = known.insert(
                key, boundsFit(key.toString(), (*bounds)[first], (*bounds)[first + 1], locale));
        return *at;
    };
    int tries = 100000;
    for (qsizetype i = i0; i >= 0; i = rest.indexOf(u' ', i + 1)) {
        if (!fits(latFits, QStringView(rest).left(i), 0))
            continue;
        for (qsizetype j = rest.indexOf(gap, i + 1); j >= 0; j = rest.indexOf(gap, j + 1)) {
            for (qsizetype k = rest.indexOf(u' ', j + 3); k >= 0; k = rest.indexOf(u' ', k + 1)) {
                if (--tries <= 0)
                    return split(i0, j0, k0);
                if (fits(longFits, QStringView(rest).sliced(j + 3, k - j - 3), 2))
                    return split(i, j, k);
            }
        }
    }
    return split(i0, j0, k0);
}

QRegularExpression form(const char *pattern)
{
    return QRegularExpression(QLatin1String(pattern));
}

// A count field: plain decimal digits, within what the writers accept.
std::optional<int> countField(const QString &digits)
{
    bool ok = false;
    const int n = digits.toInt(&ok);
    return ok && n <= 255 ? std::optional<int>(n) : std::nullopt;
}

// Reads the lines shared by both forms: the coordinates (line 1) and the header bounds.
void readPosition(const SourceLines &file, qsizetype headerLine, const QRegularExpression &header,
                  const QLocale &locale, Misfits &misfits, QString *texts[4])
{
    const std::optional<QStringList> bounds = headerBounds(file.text(headerLine), header);
    if (!bounds)
        misfits.at(headerLine);
    if (const auto c = splitCoordinates(file.text(0), bounds, locale)) {
        *texts[0] = c->latDeg;
        *texts[1] = c->latMin;
        *texts[2] = c->longDeg;
        *texts[3] = c->longMin;
    } else {
        misfits.at(0);
    }
}

// The cell as its first line names it ("123_120"), then cut where its definition line puts
// ", " between column and row.
void readCell(const SourceLines &file, qsizetype nameLine, const QRegularExpression &name,
              qsizetype definitionLine, const QRegularExpression &definition, Misfits &misfits,
              QString &cellX, QString &cellY)
{
    const QRegularExpressionMatch named = name.match(file.text(nameLine));
    const QString joined = named.captured(1);
    const qsizetype underscore = joined.indexOf(u'_');
    if (!named.hasMatch() || underscore < 0) {
        misfits.at(nameLine);
        return;
    }
    cellX = joined.left(underscore);
    cellY = joined.mid(underscore + 1);
    const QRegularExpressionMatch defined = definition.match(file.text(definitionLine));
    if (defined.hasMatch() && defined.captured(1) + u'_' + defined.captured(2) == joined) {
        cellX = defined.captured(1);
        cellY = defined.captured(2);
    } else {
        misfits.at(definitionLine);
    }
}

QStringList entryLines(const SourceLines &file, qsizetype first, qsizetype count)
{
    QStringList entries;
    entries.reserve(count);
    for (qsizetype i = first; i < first + count; ++i)
        entries << file.text(i);
    return entries;
}

} // namespace

std::optional<SourceKind> sourceKind(const QByteArray &bytes)
{
    if (!bytes.startsWith(coordinatesPrefix.toLatin1()))
        return std::nullopt;
    const qsizetype lf = bytes.indexOf('\n');
    const QByteArrayView second = lf < 0 ? QByteArrayView() : QByteArrayView(bytes).sliced(lf + 1);
    return second.startsWith(";----> VTP Method2 road/line/shoreline") ? SourceKind::Vtp
                                                                       : SourceKind::Lwm;
}

namespace {

// The polygon line's count, fill and altitude; nothing if the line has neither form.
struct PolygonLine
{
    int count = 0;
    LwmFill fill = LwmFill::Water;
    QString altitude;
};

std::optional<PolygonLine> polygonLine(const QString &line)
{
    static const QRegularExpression plain = form("^LWMPoly2  ([0-9]{2}), 0, ([01]), (.*), 0$");
    static const QRegularExpression extended =
        form("^LWMPoly2Ex  63, 0, ([01]), (.*), 0, ([0-9]{1,3})$");
    if (const QRegularExpressionMatch m = plain.match(line); m.hasMatch()) {
        if (const auto n = countField(m.captured(1)))
            return PolygonLine{*n, LwmFill(m.captured(2).toInt()), m.captured(3)};
    } else if (const QRegularExpressionMatch m = extended.match(line); m.hasMatch()) {
        if (const auto beyond = countField(m.captured(3)); beyond && *beyond <= 255 - 63)
            return PolygonLine{63 + *beyond, LwmFill(m.captured(1).toInt()), m.captured(2)};
    }
    return std::nullopt;
}

} // namespace

LwmReading readLwmSource(const QByteArray &bytes, const QLocale &locale)
{
    static const QRegularExpression header =
        form("^BGLHeader {10}(.*), LWMHeader, TerrainHeaderStart$");
    static const QRegularExpression cellName =
        form("^;----> Begin Cell_(.*)'s ----> Area \\(LOD 13\\) data information <----$");
    static const QRegularExpression area =
        form("^LWMDataAreaDrawPolygons ([1-6]), 3, 1, (.*?), (.*)$");
    static const QRegularExpression extendedArea =
        form("^LWMDataAreaDrawPolygonsEx 7, 3, 1, (.*?), (.*), ([0-9]{1,3})$");
    static const QRegularExpression definition =
        form("^Cell_(.*)_(.*)       EQU        LWMCellID   0, 0, 3, \\1, \\2$");

    const SourceLines file(bytes);
    Misfits misfits(lwmName);
    LwmInputs in;
    QString *coordinates[4] = {&in.latDeg, &in.latMin, &in.longDeg, &in.longMin};
    readPosition(file, 10, header, locale, misfits, coordinates);
    int polygons = 1;
    if (const QRegularExpressionMatch m = area.match(file.text(28)); m.hasMatch()) {
        polygons = m.captured(1).toInt();
        in.areaX = m.captured(2);
        in.areaY = m.captured(3);
    } else if (const QRegularExpressionMatch m = extendedArea.match(file.text(28));
               m.hasMatch() && countField(m.captured(3))) {
        polygons = 7 + m.captured(3).toInt();
        in.areaX = m.captured(1);
        in.areaY = m.captured(2);
    } else {
        misfits.at(28);
    }
    const std::optional<PolygonLine> first = polygonLine(file.text(30));
    LwmReading reading;
    qsizetype end = 0;     // the line after the last polygon's block
    qsizetype unread = -1; // the header line, when its polygons could not all be read
    if (polygons == 1 && (!first || first->fill == LwmFill::Water)) {
        // The window's own file: 58 lines and one more for each entry, whatever the counter.
        const qsizetype entries = std::max<qsizetype>(file.size() - 58, 0);
        if (first)
            in.altitude = first->altitude;
        else
            misfits.at(30);
        in.lwmNumber = QString::number(first ? first->count : 0);
        in.entries = entryLines(file, 32, entries);
        end = 33 + entries;
    } else {
        // Each polygon counts its own entries, as the areas job writes them.
        qsizetype at = 30;
        for (int i = 0; i < polygons; ++i) {
            const std::optional<PolygonLine> p = polygonLine(file.text(at));
            if (!p || at + 3 + p->count > file.size()) {
                // The polygons read are fewer than the header counts: that it does not
                // match them is no fault of its own.
                unread = 28;
                misfits.at(at);
                break;
            }
            if (i == 0)
                in.altitude = p->altitude;
            else if (p->altitude != in.altitude)
                misfits.at(at);
            reading.polygons.push_back(
                {p->fill, QString::number(p->count), entryLines(file, at + 2, p->count)});
            at += 3 + p->count;
        }
        end = at;
        for (std::size_t i = 0; i < reading.polygons.size(); ++i) {
            if (reading.polygons[i].fill == LwmFill::Water) {
                reading.listed = int(i);
                in.lwmNumber = reading.polygons[i].lwmNumber;
                in.entries = reading.polygons[i].entries;
                break;
            }
        }
        if (reading.listed < 0)
            in.lwmNumber = QStringLiteral("0");
    }
    readCell(file, 20, cellName, end + 9, definition, misfits, in.cellX, in.cellY);

    reading.inputs = in;
    LwmAreaInputs check = lwmAreaInputs(reading);
    check.latDeg = check.longDeg = QStringLiteral("0");
    misfits.compare(file, lwmAreaText(check, QLocale::c()), 10, unread);
    misfits.report(file);
    reading.lfOnly = file.lfOnly();
    return reading;
}

LwmAreaInputs lwmAreaInputs(const LwmReading &reading)
{
    const LwmInputs &in = reading.inputs;
    LwmAreaInputs area{in.latDeg, in.latMin, in.longDeg, in.longMin,  in.cellX,
                       in.cellY,  in.areaX,  in.areaY,   in.altitude, reading.polygons};
    if (area.polygons.empty())
        area.polygons = {{LwmFill::Water, in.lwmNumber, in.entries}};
    return area;
}

QString vtpLastEntryBeforeWriting(const QString &written)
{
    // A captured point ends in 0, so a final 1 is the writer's: its first ", 0" was the last
    // field itself, the marker being 1 already.
    static const QRegularExpression closedPoint = form("^VTPWidePoint [0-9]+, [0-9]+, [0-9]+, 1$");
    if (closedPoint.match(written).hasMatch())
        return written.chopped(1) + u'0';
    // Otherwise the writer turned the first ", 0" into ", 1": the first ", 1" with no ", 0"
    // before it.
    const qsizetype one = written.indexOf(QStringLiteral(", 1"));
    if (one < 0 || QStringView(written).left(one).contains(QStringLiteral(", 0")))
        return written;
    QString entry = written;
    entry[one + 2] = u'0';
    return entry;
}

VtpReading readVtpSource(const QByteArray &bytes, const QLocale &locale)
{
    static const QRegularExpression header =
        form("^BGLHeader {10}(.*), TerrainHeaderStart, VTPHeader$");
    static const QRegularExpression layer = form("^VTPLayer (.*), 0$");
    static const QRegularExpression polyline = form("^VTPPolyMethod2 ([0-9]{2}), 1, 0$");
    static const QRegularExpression extended = form("^VTPPolyMethod2Ex ([0-9]{2,3})$");
    static const QRegularExpression cellName =
        form("^;----> Begin Cell_(.*)'s defination data information <----$");
    static const QRegularExpression definition =
        form("^Cellv_(.*)_(.*)       EQU        VTPCellID   0, \\1, \\2$");
    static const QRegularExpression textureName = form("^ {19}VTPTextureName (.*)$");

    const SourceLines file(bytes);
    Misfits misfits(vtpName);
    VtpInputs in;
    QString *coordinates[4] = {&in.latDeg, &in.latMin, &in.longDeg, &in.longMin};
    readPosition(file, 11, header, locale, misfits, coordinates);
    if (const QRegularExpressionMatch m = layer.match(file.text(26)); m.hasMatch())
        in.layer = m.captured(1);
    else
        misfits.at(26);

    const QRegularExpressionMatch first = polyline.match(file.text(31));
    // A plain int, -1 for none: GCC 12 takes an optional<int> changed in place for unset.
    int count = first.hasMatch() ? countField(first.captured(1)).value_or(-1) : -1;
    if (count < 0)
        misfits.at(31);
    // The extended line stands where the empty line would, from 32 points on.
    const QString second = file.text(32);
    const qsizetype extraLines = second.isEmpty() ? 0 : 1;
    if (extraLines) {
        const QRegularExpressionMatch m = extended.match(second);
        const std::optional<int> extra = m.hasMatch() ? countField(m.captured(1)) : std::nullopt;
        if (extra && count >= 0 && count + *extra <= 255)
            count += *extra;
        else
            misfits.at(32);
    }
    in.vtpNumber = QString::number(std::max(count, 0));

    // 89 lines, the extended one, and the point block: an empty line for an empty list.
    const qsizetype blockStart = 33 + extraLines;
    const qsizetype blockLines = std::max<qsizetype>(file.size() - 89 - extraLines, 1);
    if (blockLines > 1 || !file.raw(blockStart).isEmpty()) {
        in.entries = entryLines(file, blockStart, blockLines);
        in.entries.last() = vtpLastEntryBeforeWriting(in.entries.last());
    }
    const qsizetype cellLine = blockStart + blockLines + 6;
    readCell(file, cellLine, cellName, cellLine + 2, definition, misfits, in.cellX, in.cellY);
    const qsizetype firstTexture = cellLine + 11 + 13 + 1;
    if (const QRegularExpressionMatch m = textureName.match(file.text(firstTexture)); m.hasMatch())
        in.lineType = m.captured(1);
    else
        misfits.at(firstTexture);

    VtpInputs check = in;
    check.latDeg = check.longDeg = QStringLiteral("0");
    misfits.compare(file, vtpSourceText(check, QLocale::c()), 11);
    misfits.report(file);
    return {in, file.lfOnly()};
}
