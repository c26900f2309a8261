#include "services/picture_feed.h"

#include "canvas/picture_loader.h"
#include "grid/grid_constants.h"
#include "imagery/gdal_setup.h"
#include "services/service_catalogue.h"
#include "text/failure.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Presses map to the panel, not to the picture, so a picture of another size does not line
// up with the area.
QString imageSizeNote(QSize size)
{
    const QString shown = size.width() >= lod::pixelUnits && size.height() >= lod::pixelUnits
                              ? QStringLiteral("the panel shows its top-left 256 × 256")
                              : QStringLiteral("the panel shows it from its top-left corner");
    return QStringLiteral("The image is %1 × %2 pixels, not 256 × 256: %3. Presses count in "
                          "the panel's 256 × 256 pixels all the same.")
        .arg(size.width())
        .arg(size.height())
        .arg(shown);
}

} // namespace

PictureFeed::PictureFeed(const ServiceCatalogue &catalogue, const FetchSettings &settings,
                         QObject *parent)
    : QObject(parent), m_catalogue(catalogue), m_fetchSettings(settings)
{
    connect(&m_cuts, &JobRunner::busyChanged, this, &PictureFeed::busyChanged);
}

PictureFeed::~PictureFeed() = default;

bool PictureFeed::busy() const
{
    return m_cuts.busy();
}

ImageSource PictureFeed::pick(const QString &path)
{
    const ImageProbe probe = probeImage(path);
    if (probe.kind == ImageProbe::Refused)
        throw Failure{{}, probe.reason};
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (probe.kind == ImageProbe::Plain) {
        const PictureRead picture = readPicture(path);
        if (picture.image.isNull())
            throw Failure{{}, picture.failure.isEmpty() ? probe.reason : picture.failure};
        m_decodedPath = absolute;
        m_decoded = picture.image;
    }
    return {absolute, probe.kind == ImageProbe::Georeferenced, {}};
}

void PictureFeed::show(const ImageSource &source, const std::optional<GridPlace> &place)
{
    m_cuts.cancel();
    if (m_fetcher)
        m_fetcher->cancel();
    if (!source.service.isEmpty()) {
        emit picture(QImage());
        return fetch(source, place);
    }
    const QString &path = source.path;
    QImage decoded = std::exchange(m_decoded, QImage());
    const bool fresh = std::exchange(m_decodedPath, QString()) == path && !decoded.isNull();
    if (path.isEmpty())
        return emit picture(QImage());
    if (!QFileInfo::exists(path)) {
        emit picture(QImage());
        emit message(QStringLiteral("The image %1 is gone.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    if (source.georeferenced) {
        if (place)
            return recut(source, *place);
        // Before any Calculate there is no area to cut: the picture shows as any other would,
        // where the picture reader can read it.
        emit picture(loadPicture(path).value_or(QImage()));
        emit message(QStringLiteral("%1 is georeferenced: Calculate will place it.")
                         .arg(QFileInfo(path).fileName()));
        return;
    }
    const PictureRead read = fresh ? PictureRead{decoded, QString()} : readPicture(path);
    if (read.image.isNull())
        return emit message(read.failure);
    emit picture(read.image);
    if (read.image.size() != QSize(lod::pixelUnits, lod::pixelUnits))
        emit message(imageSizeNote(read.image.size()));
}

void PictureFeed::recut(const ImageSource &source, const GridPlace &place)
{
    if (!source.service.isEmpty())
        return fetch(source, place);
    if (!source.georeferenced)
        return;
    emit message(QStringLiteral("Cutting area %1, %2 of cell %3, %4 from %5 …")
                     .arg(place.areaColumn)
                     .arg(place.areaRow)
                     .arg(place.cellColumn)
                     .arg(place.cellRow)
                     .arg(QFileInfo(source.path).fileName()));
    // The cut runs on another thread; GDAL must be set up on this one first.
    setUpGdal();
    m_cuts.run(
        [path = source.path, place](JobControl &job) { return cutArea(path, place, job.token()); },
        [this, path = source.path](const AreaCut &area) { cut(path, area); });
}

void PictureFeed::fetch(const ImageSource &source, const std::optional<GridPlace> &place)
{
    const ServiceCheck check = serviceFromJson(source.service);
    if (!check.service)
        return sayLater(QStringLiteral("The work's imagery service cannot be used: ")
                        + check.failure);
    // A work file may name any address: only a service in the user's own list is asked.
    const ImageryService *known = m_catalogue.byAddress(check.service->urlTemplate);
    if (!known)
        return sayLater(QStringLiteral("This work used the imagery service %1, which is not "
                                       "in your Imagery menu: add it there to fetch the area.")
                            .arg(check.service->name));
    if (!place)
        return emit message(
            QStringLiteral("%1 is picked: Calculate will fetch the area.").arg(known->name));
    fetcher()->fetch(*known, *place);
}

AreaFetcher *PictureFeed::fetcher()
{
    // Built on the first fetch: its network access and disk cache cost start-up time, and
    // most work never asks a service.
    if (!m_fetcher) {
        m_fetcher = new AreaFetcher(m_fetchSettings, this);
        connect(m_fetcher, &AreaFetcher::progress, this, &PictureFeed::message);
        connect(m_fetcher, &AreaFetcher::finished, this, &PictureFeed::fetched);
    }
    return m_fetcher;
}

void PictureFeed::fetched(const ServiceCut &result)
{
    if (result.ok())
        emit picture(result.cut.image);
    emit message(result.status);
}

void PictureFeed::cut(const QString &path, const AreaCut &cut)
{
    if (!cut.ok())
        return emit message(cut.failure);
    emit picture(cut.image);
    emit message(cutSummary(path, cut));
}

void PictureFeed::sayLater(const QString &text)
{
    QMetaObject::invokeMethod(
        this, [this, text] { emit message(text); }, Qt::QueuedConnection);
}
