#pragma once

#include "imagery/area_cut.h"
#include "jobs/job_runner.h"
#include "services/imagery_service.h"
#include "services/tile_plan.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class TileCache;

struct FetchSettings
{
    QString cacheFolder;        // empty: "tiles" in the user's cache folder
    int tileTimeoutMs = 15000;  // a tile that takes longer fails the fetch
    int connectionsPerHost = 2; // what tile servers ask of a program
};

// An area fetched from a service and cut, or one sentence why not.
struct ServiceCut
{
    AreaCut cut;
    QString status; // for the status line: the failure, or the figures of the picture
    int zoom = 0;
    int tiles = 0, fromCache = 0, missing = 0;

    bool ok() const { return cut.ok(); }
};

// The one place that reaches the network: it asks a service for the pictures of one area,
// through a disk cache, and cuts them as a georeferenced file is cut, off the calling thread.
// A new fetch drops the one in progress; a dropped fetch never reports.
class AreaFetcher : public QObject
{
    Q_OBJECT
public:
    explicit AreaFetcher(const FetchSettings &settings = {}, QObject *parent = nullptr);
    ~AreaFetcher() override;

    void fetch(const ImageryService &service, const GridPlace &place);
    void cancel();
    bool busy() const;

    static QByteArray userAgent();

signals:
    // "Fetching 3 of 4 tiles…", then "Cutting the area…".
    void progress(const QString &text);
    void finished(const ServiceCut &result);

private:
    struct Job;

    void startRequests();
    void request(int index, bool cacheOnly);
    void answered(QNetworkReply *reply);
    bool took(int index, int httpStatus, const QByteArray &bytes, bool fromCache);
    std::optional<QByteArray> freshFromCache(const QUrl &url) const;
    void timedOut(QNetworkReply *reply);
    void fail(const QString &why);
    void cutMosaic();
    void reportProgress();

    FetchSettings settings;
    QNetworkAccessManager *network;
    TileCache *cache;
    std::unique_ptr<Job> job;
    unsigned generation = 0;
    JobRunner m_cuts{JobRunner::Policy::LatestOnly};
};
