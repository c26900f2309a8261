#include "services/area_fetcher.h"

#include "imagery/gdal_setup.h"
#include "imagery/mosaic_cut.h"
#include "services/tile_answer.h"
#include "text/version.h"

#include <QDateTime>
#include <QHash>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QSet>
#include <QStandardPaths>
#include <QTimer>

#include <cstring>

namespace {

constexpr int tileSize = 256;
constexpr qint64 aWeek = 7 * 24 * 3600;
// Far more than any tile or GetMap picture of one area; a service sending more is broken.
constexpr qint64 mostBytes = 16 * 1024 * 1024;

QString metres(double value)
{
    return QString::number(value, 'f', value < 1 ? 2 : value < 10 ? 1 : 0);
}

QString sentence(QString text)
{
    text = text.simplified();
    if (!text.endsWith(u'.'))
        text += u'.';
    return text;
}

} // namespace

// Keeps every tile a week at least, longer when the service's expiry says so; what the
// service forbids to store stays unstored.
class TileCache : public QNetworkDiskCache
{
public:
    using QNetworkDiskCache::QNetworkDiskCache;

    QIODevice *prepare(const QNetworkCacheMetaData &metaData) override
    {
        return QNetworkDiskCache::prepare(keptAWeek(metaData));
    }
    void updateMetaData(const QNetworkCacheMetaData &metaData) override
    {
        QNetworkDiskCache::updateMetaData(keptAWeek(metaData));
    }

private:
    static QNetworkCacheMetaData keptAWeek(QNetworkCacheMetaData metaData)
    {
        const QDateTime week = QDateTime::currentDateTimeUtc().addSecs(aWeek);
        if (!metaData.expirationDate().isValid() || metaData.expirationDate() < week)
            metaData.setExpirationDate(week);
        return metaData;
    }
};

struct AreaFetcher::Job
{
    struct InFlight
    {
        int index;
        bool cacheOnly;
    };

    ImageryService service;
    GridPlace place;
    AreaRequests plan;
    QList<TileAnswer> answers;
    QList<QByteArray> bytes;
    QHash<int, QString> unreachable; // why a tile the cache is asked for again failed
    QHash<QNetworkReply *, InFlight> replies;
    QSet<QNetworkReply *> timedOut, tooLarge;
    int next = 0, done = 0, fromCache = 0, missing = 0;
};

AreaFetcher::AreaFetcher(const FetchSettings &settings, QObject *parent)
    : QObject(parent), settings(settings), network(new QNetworkAccessManager(this)),
      cache(new TileCache(this))
{
    // The cut runs on another thread; GDAL must be set up on this one first.
    setUpGdal();
    QString folder = settings.cacheFolder;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                 + QStringLiteral("/tiles");
    cache->setCacheDirectory(folder);
    cache->setMaximumCacheSize(256 * 1024 * 1024);
    network->setCache(cache);
}

AreaFetcher::~AreaFetcher()
{
    cancel();
}

QByteArray AreaFetcher::userAgent()
{
    return "Marlith/" + programVersion().toUtf8();
}

bool AreaFetcher::busy() const
{
    return job != nullptr;
}

void AreaFetcher::cancel()
{
    ++generation;
    if (!job)
        return;
    m_cuts.cancel();
    const QList<QNetworkReply *> replies = job->replies.keys();
    job.reset();
    for (QNetworkReply *reply : replies) {
        reply->disconnect(this);
        reply->abort();
        // Whatever of its answer the cache took is no tile.
        cache->remove(reply->request().url());
        reply->deleteLater();
    }
}

void AreaFetcher::fetch(const ImageryService &service, const GridPlace &place)
{
    cancel();
    job = std::make_unique<Job>();
    job->service = service;
    job->place = place;
    job->plan = planRequests(service, place);
    if (job->plan.tiles.isEmpty()) {
        fail(job->plan.failure);
        return;
    }
    job->answers.resize(job->plan.tiles.size());
    job->bytes.resize(job->plan.tiles.size());
    reportProgress();
    startRequests();
}

void AreaFetcher::startRequests()
{
    // All the tiles of one fetch come from one host, and only one fetch runs at a time. A tile
    // still fresh in the cache is taken at once: it costs the host nothing.
    while (job && job->next < job->plan.tiles.size()) {
        const int index = job->next;
        if (const auto bytes = freshFromCache(job->plan.tiles[index].url)) {
            ++job->next;
            if (!took(index, 200, *bytes, true))
                return;
            continue;
        }
        if (job->replies.size() >= settings.connectionsPerHost)
            return;
        ++job->next;
        request(index, false);
    }
}

std::optional<QByteArray> AreaFetcher::freshFromCache(const QUrl &url) const
{
    const QNetworkCacheMetaData metaData = cache->metaData(url);
    if (!metaData.isValid() || metaData.expirationDate() <= QDateTime::currentDateTimeUtc()
        || metaData.attributes().value(QNetworkRequest::HttpStatusCodeAttribute).toInt() != 200)
        return std::nullopt;
    const std::unique_ptr<QIODevice> device(cache->data(url));
    if (!device)
        return std::nullopt;
    return device->readAll();
}

void AreaFetcher::request(int index, bool cacheOnly)
{
    QNetworkRequest request(job->plan.tiles[index].url);
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent());
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         cacheOnly ? QNetworkRequest::AlwaysCache : QNetworkRequest::PreferCache);
    request.setMaximumRedirectsAllowed(5);
    QNetworkReply *reply = network->get(request);
    job->replies.insert(reply, {index, cacheOnly});
    connect(reply, &QNetworkReply::finished, this, [this, reply] { answered(reply); });
    connect(reply, &QNetworkReply::downloadProgress, this, [this, reply](qint64 received) {
        if (received > mostBytes && job && job->replies.contains(reply)
            && !job->timedOut.contains(reply) && !job->tooLarge.contains(reply)) {
            job->tooLarge.insert(reply);
            reply->abort();
        }
    });
    auto *timer = new QTimer(reply);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, reply] { timedOut(reply); });
    timer->start(settings.tileTimeoutMs);
}

void AreaFetcher::timedOut(QNetworkReply *reply)
{
    if (!job || !job->replies.contains(reply) || job->tooLarge.contains(reply))
        return;
    job->timedOut.insert(reply);
    reply->abort();
}

void AreaFetcher::answered(QNetworkReply *reply)
{
    reply->deleteLater();
    if (!job || !job->replies.contains(reply))
        return;
    const Job::InFlight tile = job->replies.take(reply);
    const bool late = job->timedOut.remove(reply);
    const QUrl url = job->plan.tiles[tile.index].url;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // An answer cut short is no tile, whatever the cache kept of it.
    if ((late && status.isValid()) || job->tooLarge.contains(reply))
        cache->remove(url);
    if (job->tooLarge.remove(reply)) {
        fail(QStringLiteral("The service sent more than %1 MB for one picture.")
                 .arg(mostBytes / (1024 * 1024)));
        return;
    }
    if (late || (reply->error() != QNetworkReply::NoError && !status.isValid())) {
        // No answer from the service: a tile kept from before still serves.
        if (tile.cacheOnly) {
            fail(job->unreachable.value(tile.index));
            return;
        }
        job->unreachable.insert(tile.index,
                                late ? QStringLiteral("The service did not answer within %1 s.")
                                           .arg(settings.tileTimeoutMs / 1000.0)
                                     : sentence(QStringLiteral("The service could not be reached: ")
                                                + reply->errorString()));
        request(tile.index, true);
        return;
    }

    const bool fromCache =
        tile.cacheOnly || reply->attribute(QNetworkRequest::SourceIsFromCacheAttribute).toBool();
    if (took(tile.index, status.toInt(), reply->readAll(), fromCache))
        startRequests();
}

// False when the answer ended the fetch.
bool AreaFetcher::took(int index, int httpStatus, const QByteArray &bytes, bool fromCache)
{
    const TileAnswer answer = readTileAnswer(httpStatus, bytes);
    if (answer.kind != TileAnswer::Picture) // only pictures are kept as good
        cache->remove(job->plan.tiles[index].url);
    if (answer.kind == TileAnswer::Failure) {
        fail(answer.failure);
        return false;
    }
    job->answers[index] = answer;
    job->bytes[index] = bytes;
    job->missing += answer.kind == TileAnswer::Missing;
    job->fromCache += fromCache;
    ++job->done;
    if (job->done < job->plan.tiles.size()) {
        reportProgress();
        return true;
    }
    cutMosaic();
    return false;
}

void AreaFetcher::reportProgress()
{
    const int total = int(job->plan.tiles.size());
    emit progress(total == 1 ? QStringLiteral("Fetching the area's picture…")
                             : QStringLiteral("Fetching %1 of %2 tiles…")
                                   .arg(std::min(job->done + 1, total))
                                   .arg(total));
}

void AreaFetcher::fail(const QString &why)
{
    ServiceCut result;
    result.cut.failure = why;
    result.status = why;
    result.zoom = job->plan.zoom;
    result.tiles = int(job->plan.tiles.size());
    const unsigned current = generation;
    cancel();
    generation = current; // the failure still belongs to this fetch
    QMetaObject::invokeMethod(
        this,
        [this, current, result] {
            if (current == generation)
                emit finished(result);
        },
        Qt::QueuedConnection);
}

namespace {

// The same bytes for every tile of the area, and not the one colour of open sea: the picture
// services send where they have no imagery.
bool sameTileAllOver(const QList<QByteArray> &bytes, const QList<TileAnswer> &answers)
{
    if (bytes.size() < 2)
        return false;
    for (const QByteArray &b : bytes)
        if (b != bytes.first())
            return false;
    return !isOneColour(answers.first().image);
}

// Without a missing tile the mosaic needs no alpha band, and GDAL warps it as fast as a
// plain aerial file.
Mosaic mosaicOf(const AreaRequests &plan, const QList<TileAnswer> &answers, bool complete)
{
    const QImage::Format format = complete ? QImage::Format_RGB888 : QImage::Format_RGBA8888;
    const int depth = complete ? 3 : 4;
    Mosaic mosaic;
    mosaic.image = QImage(plan.columns * tileSize, plan.rows * tileSize, format);
    mosaic.image.fill(Qt::transparent);
    for (int i = 0; i < answers.size(); ++i) {
        if (answers[i].kind != TileAnswer::Picture)
            continue;
        const QImage tile = answers[i].image.convertToFormat(format);
        for (int y = 0; y < tileSize; ++y)
            std::memcpy(mosaic.image.scanLine(plan.tiles[i].row * tileSize + y)
                            + plan.tiles[i].column * tileSize * depth,
                        tile.constScanLine(y), std::size_t(tileSize) * depth);
    }
    mosaic.geotransform = plan.geotransform;
    mosaic.epsg = plan.epsg;
    return mosaic;
}

QString summary(const ImageryService &service, const ServiceCut &result, ServiceKind kind)
{
    QString pictures = kind == ServiceKind::Wms
                           ? QStringLiteral("one picture")
                           : QStringLiteral("zoom %1, %2 tiles").arg(result.zoom).arg(result.tiles);
    if (result.fromCache == result.tiles)
        pictures += QStringLiteral(", from cache");
    else if (result.fromCache > 0)
        pictures += QStringLiteral(", %1 from cache").arg(result.fromCache);
    if (result.missing > 0)
        pictures += QStringLiteral(", %1 missing (grey)").arg(result.missing);
    QString text = QStringLiteral("%1, %2: %3 m per pixel, cut at %4 m per pixel.")
                       .arg(service.name, pictures, metres(result.cut.sourceMetresPerPixel),
                            metres(result.cut.cutMetresPerPixel));
    if (!service.attribution.isEmpty())
        text += u' ' + service.attribution;
    return text;
}

} // namespace

void AreaFetcher::cutMosaic()
{
    const int total = int(job->plan.tiles.size());
    const QString zoom = QString::number(job->plan.zoom);
    if (job->missing == total) {
        fail(job->service.kind == ServiceKind::Wms
                 ? QStringLiteral("%1 has no picture of this area.").arg(job->service.name)
                 : QStringLiteral("%1 has no tiles here at zoom %2.").arg(job->service.name, zoom));
        return;
    }
    if (job->missing == 0 && sameTileAllOver(job->bytes, job->answers)) {
        fail(QStringLiteral("%1 has no imagery here at zoom %2: it sent the same tile across the "
                            "whole area.")
                 .arg(job->service.name, zoom));
        return;
    }
    emit progress(QStringLiteral("Cutting the area…"));
    ServiceCut counts;
    counts.zoom = job->plan.zoom;
    counts.tiles = total;
    counts.fromCache = job->fromCache;
    counts.missing = job->missing;
    const ImageryService service = job->service;
    const GridPlace place = job->place;
    const AreaRequests plan = job->plan;
    const QList<TileAnswer> answers = job->answers;
    m_cuts.run(
        [=](JobControl &cutting) {
            ServiceCut result = counts;
            result.cut = cutAreaFromMosaic(mosaicOf(plan, answers, counts.missing == 0),
                                           service.name, place, cutting.token());
            result.status =
                result.ok() ? summary(service, result, service.kind) : result.cut.failure;
            return result;
        },
        [this](const ServiceCut &result) {
            job.reset();
            emit finished(result);
        });
}
