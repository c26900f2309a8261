#include "osm/osm_extract.h"

#include "imagery/gdal_setup.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

#include <cpl_error.h>
#include <cpl_vsi.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <memory>

namespace {

QString quoted(const QString &text)
{
    return QStringLiteral("\u201c%1\u201d").arg(text);
}

// The driver's settings: every tag in one field, so that the rules see all of them, and the
// rules' area tags as the ones that make a closed way an area. The driver skips a key longer
// than the last one listed, so the longest goes last.
QByteArray driverSettings(QStringList areaTags)
{
    std::stable_sort(areaTags.begin(), areaTags.end(),
                     [](const QString &a, const QString &b) { return a.size() < b.size(); });
    QByteArray text = "closed_ways_are_polygons=" + areaTags.join(u',').toUtf8() + "\n";
    for (const char *layer :
         {"points", "lines", "multipolygons", "multilinestrings", "other_relations"}) {
        text += QByteArray("[") + layer
                + "]\nosm_id=yes\nattributes=\nall_tags=yes\n"
                  "unsignificant=created_by,converted_by,source,time,ele,attribution\n"
                  "ignore=created_by,converted_by,source,time,ele,note,todo,fixme,FIXME\n";
    }
    return text;
}

// The settings as a file in GDAL's memory, removed again when the reading ends.
class MemoryFile
{
public:
    explicit MemoryFile(const QByteArray &bytes)
        : m_name(QStringLiteral("/vsimem/marlith-osm-%1.ini")
                     .arg(QUuid::createUuid().toString(QUuid::Id128))
                     .toUtf8()),
          m_bytes(bytes)
    {
        VSIFCloseL(VSIFileFromMemBuffer(m_name.constData(),
                                        reinterpret_cast<GByte *>(m_bytes.data()),
                                        vsi_l_offset(m_bytes.size()), FALSE));
    }
    ~MemoryFile() { VSIUnlink(m_name.constData()); }
    MemoryFile(const MemoryFile &) = delete;
    MemoryFile &operator=(const MemoryFile &) = delete;
    const char *name() const { return m_name.constData(); }

private:
    QByteArray m_name, m_bytes;
};

// The driver tells what it mended or left out only in its debug messages; they are turned on
// for this thread alone and counted while the extract is read.
class DriverMessages
{
public:
    explicit DriverMessages(OsmReadTally &tally) : m_tally(tally)
    {
        CPLSetThreadLocalConfigOption("CPL_DEBUG", "OSM");
        // The driver keeps its node index in a temporary file, by default in the current folder.
        CPLSetThreadLocalConfigOption("CPL_TMPDIR", QDir::tempPath().toUtf8().constData());
        CPLPushErrorHandlerEx(&DriverMessages::handle, this);
    }
    ~DriverMessages()
    {
        CPLPopErrorHandler();
        CPLSetThreadLocalConfigOption("CPL_DEBUG", nullptr);
        CPLSetThreadLocalConfigOption("CPL_TMPDIR", nullptr);
    }
    DriverMessages(const DriverMessages &) = delete;
    DriverMessages &operator=(const DriverMessages &) = delete;

    QString failure() const { return m_failure; }

private:
    static void CPL_STDCALL handle(CPLErr type, CPLErrorNum, const char *message)
    {
        auto *self = static_cast<DriverMessages *>(CPLGetErrorHandlerUserData());
        const QByteArray text(message);
        OsmReadTally &t = self->m_tally;
        if (type == CE_Failure || type == CE_Fatal) {
            if (self->m_failure.isEmpty())
                self->m_failure = QString::fromUtf8(message).trimmed();
        } else if (type == CE_Warning && text.contains("Non closed ring")) {
            ++t.ringsOpen;
        } else if (type == CE_Debug) {
            if (text.contains(", got only "))
                ++t.waysShort;
            else if (text.contains("that could be found. Discarding it"))
                ++t.waysDropped;
            else if (text.contains("has missing ways. Ignoring it"))
                ++t.relationsMissing;
        }
    }

    OsmReadTally &m_tally;
    QString m_failure;
};

// Why a path is no extract this reader takes, or the empty text; the name GDAL opens.
QString gdalName(const QString &path, QByteArray &name)
{
    const QString file = quoted(QDir::toNativeSeparators(path));
    if (isRemoteName(path))
        return QStringLiteral("%1 is no file on this computer.").arg(file);
    if (!QFileInfo(path).isFile())
        return QStringLiteral("%1 cannot be found.").arg(file);
    const QString lower = path.toLower();
    if (lower.endsWith(u".bz2"))
        return QStringLiteral("%1 is packed with bzip2, which GDAL cannot read: unpack it first "
                              "(bunzip2, or 7-Zip on Windows), or take the .osm.pbf of the same "
                              "extract, which is smaller and quicker to read.")
            .arg(file);
    name = QFileInfo(path).absoluteFilePath().toUtf8();
    if (lower.endsWith(u".gz"))
        name.prepend("/vsigzip/");
    return {};
}

} // namespace

OsmReadResult readOsmExtract(const OsmReading &reading, const OsmFeatureSink &sink)
{
    setUpGdal();
    OsmReadResult result;
    const QString file = quoted(QDir::toNativeSeparators(reading.path));
    QByteArray name;
    if (const QString why = gdalName(reading.path, name); !why.isEmpty()) {
        result.failure = why;
        return result;
    }
    const MemoryFile settings(driverSettings(reading.areaTags));
    DriverMessages messages(result.tally);
    const QByteArray configOption = QByteArray("CONFIG_FILE=") + settings.name();
    const char *const drivers[] = {"OSM", nullptr};
    const char *const options[] = {configOption.constData(), nullptr};
    GDALDatasetUniquePtr dataset(GDALDataset::Open(
        name.constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, options, nullptr));
    if (!dataset) {
        result.failure = QStringLiteral("%1 is no OpenStreetMap extract GDAL can read (.osm or "
                                        ".osm.pbf)%2.")
                             .arg(file, messages.failure().isEmpty()
                                            ? QString()
                                            : QStringLiteral(": ") + messages.failure());
        return result;
    }
    delete dataset->ExecuteSQL("SET interest_layers = lines,multipolygons", nullptr, nullptr);
    OGRLayer *lines = dataset->GetLayerByName("lines");
    OGRLayer *areas = dataset->GetLayerByName("multipolygons");
    if (!lines || !areas) {
        result.failure = QStringLiteral("%1 gave GDAL no lines or areas to read.").arg(file);
        return result;
    }
    if (reading.box) {
        for (OGRLayer *layer : {lines, areas})
            layer->SetSpatialFilterRect(reading.box->west, reading.box->south, reading.box->east,
                                        reading.box->north);
    }
    const int tagsOfLines = lines->GetLayerDefn()->GetFieldIndex("all_tags");
    const int tagsOfAreas = areas->GetLayerDefn()->GetFieldIndex("all_tags");
    dataset->ResetReading();
    for (;;) {
        OGRLayer *layer = nullptr;
        double fraction = 0;
        OGRFeatureUniquePtr feature(dataset->GetNextFeature(&layer, &fraction, nullptr, nullptr));
        if (!feature)
            break;
        if (sink.progress)
            sink.progress(std::clamp(fraction, 0.0, 1.0));
        if (sink.canceled && sink.canceled()) {
            result.canceled = true;
            return result;
        }
        const bool area = layer == areas;
        if (!area && layer != lines)
            continue;
        const OGRGeometry *geometry = feature->GetGeometryRef();
        if (!geometry || geometry->IsEmpty())
            continue;
        const int field = area ? tagsOfAreas : tagsOfLines;
        const OsmTags tags = field >= 0 && feature->IsFieldSetAndNotNull(field)
                                 ? readTagList(QString::fromUtf8(feature->GetFieldAsString(field)))
                                 : OsmTags{};
        sink.feature(*geometry, tags, area);
    }
    if (!messages.failure().isEmpty()) {
        result.failure = QStringLiteral("%1 could not be read to its end; it may be cut short or "
                                        "damaged (%2).")
                             .arg(file, messages.failure());
    }
    return result;
}
