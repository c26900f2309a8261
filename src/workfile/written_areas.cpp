#include "workfile/written_areas.h"

#include "workfile/source_reading.h"
#include "workfile/work_file.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

// The bytes of one file of the run, refusing what Open would refuse.
QByteArray readRunFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw OpenFault{QStringLiteral("%1 cannot be read: %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString())};
    if (file.size() > maxOpenBytes)
        throw OpenFault{
            QStringLiteral("%1 is larger than Marlith reads.").arg(QDir::toNativeSeparators(path))};
    return file.readAll();
}

int whole(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok)
        throw OpenFault{QStringLiteral("Its cell and area are not whole numbers.")};
    return n;
}

} // namespace

WrittenAreas::WrittenAreas(const QString &folder, const QStringList &written) : m_folder(folder)
{
    for (const QString &name : written) {
        if (name.startsWith(u"LWM_"))
            m_areas << name;
        else if (name.startsWith(u"VTP_"))
            m_lines << name;
    }
}

WrittenArea WrittenAreas::step(int by)
{
    if (m_areas.isEmpty())
        return {};
    const qsizetype n = m_areas.size();
    if (m_index < 0)
        m_index = by > 0 ? (by - 1) % n : ((by % n) + n) % n;
    else
        m_index = (((m_index + by) % n) + n) % n;
    WrittenArea area;
    area.name = m_areas[m_index];
    try {
        const LwmReading r = readLwmSource(readRunFile(m_folder + u'/' + area.name), QLocale::c());
        area.place = {whole(r.inputs.cellX), whole(r.inputs.cellY), whole(r.inputs.areaX),
                      whole(r.inputs.areaY)};
        area.polygons = r.polygons;
        // A file of one water polygon is the window's own form, which lists it in `inputs`.
        if (area.polygons.empty())
            area.polygons.push_back({LwmFill::Water, r.inputs.lwmNumber, r.inputs.entries});
        area.lines = cellLines(area.place.cellColumn, area.place.cellRow);
        area.unreadLines = m_cellUnread;
    } catch (const OpenFault &f) {
        return {area.name, {}, {}, {}, 0, f.text};
    }
    return area;
}

const std::vector<QStringList> &WrittenAreas::cellLines(int cellColumn, int cellRow)
{
    if (cellColumn == m_cellColumn && cellRow == m_cellRow)
        return m_cellLines;
    m_cellLines.clear();
    m_cellUnread = 0;
    // "VTP_401_121.asm" and "VTP_401_121_2.asm", but not "VTP_401_1210.asm".
    const QRegularExpression ofCell(
        QStringLiteral("^VTP_%1_%2(_\\d+)?\\.asm$").arg(cellColumn).arg(cellRow));
    for (const QString &name : std::as_const(m_lines)) {
        if (!ofCell.match(name).hasMatch())
            continue;
        // A line file that is gone or changed since the run is counted, not drawn; the area's
        // own file still shows.
        try {
            m_cellLines.push_back(
                readVtpSource(readRunFile(m_folder + u'/' + name), QLocale::c()).inputs.entries);
        } catch (const OpenFault &) {
            ++m_cellUnread;
        }
    }
    m_cellColumn = cellColumn;
    m_cellRow = cellRow;
    return m_cellLines;
}
