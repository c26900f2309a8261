#pragma once

#include "osm/osm_rules.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

struct OverpassSettings
{
    QString cacheFolder;             // empty: "overpass" in the user's cache folder
    int timeoutMs = 200'000;         // the query asks the server for 180 s at most
    qint64 freshSeconds = 7 * 86400; // a kept answer younger than this is used as it is
};

// A cell's data, as an OpenStreetMap file to read like any extract, or why there is none.
struct OverpassResult
{
    QString extractPath; // empty on failure
    QString status;      // one or two sentences for the status line
    bool fromCache = false;
};

// Asks an Overpass API server for one cell's water, roads and waterways, as the public
// instance's usage policy asks: one request per cell and none while another runs, an honest
// User-Agent, and every answer kept on disk, used instead of asking again for a week and
// whenever the server cannot be reached.
class OverpassFetcher : public QObject
{
    Q_OBJECT
public:
    explicit OverpassFetcher(const OverpassSettings &settings = {}, QObject *parent = nullptr);
    ~OverpassFetcher() override;

    // False, and nothing asked, while another fetch runs.
    bool fetch(const QUrl &server, int cellColumn, int cellRow, const OsmRules &rules);
    void cancel();
    bool busy() const { return reply != nullptr; }

    // The address is one a user may name: http or https, with a host.
    static QString checkServer(const QUrl &server);

signals:
    void finished(const OverpassResult &result);

private:
    void answered();
    void finish(OverpassResult result);
    OverpassResult keptAnswer(const QString &why) const;

    OverpassSettings settings;
    QNetworkAccessManager *network = nullptr;
    QNetworkReply *reply = nullptr;
    QString cachePath;
};
