#include "services/overpass_fetcher.h"

#include "services/area_fetcher.h"
#include "services/overpass_answer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// More than any cell's water and roads; a server sending more is answering something else.
constexpr qint64 mostBytes = 512 * 1024 * 1024;

} // namespace

OverpassFetcher::OverpassFetcher(const OverpassSettings &settings, QObject *parent)
    : QObject(parent), settings(settings)
{
    if (this->settings.cacheFolder.isEmpty())
        this->settings.cacheFolder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                                     + QStringLiteral("/overpass");
}

OverpassFetcher::~OverpassFetcher()
{
    cancel();
}

QString OverpassFetcher::checkServer(const QUrl &server)
{
    if (!server.isValid() || (server.scheme() != u"http" && server.scheme() != u"https")
        || server.host().isEmpty())
        return QStringLiteral("The Overpass server's address must start with http:// or "
                              "https:// and name a host, such as "
                              "https://overpass.example.org/api/interpreter.");
    return {};
}

bool OverpassFetcher::fetch(const QUrl &server, int cellColumn, int cellRow, const OsmRules &rules)
{
    if (busy())
        return false;
    if (const QString why = checkServer(server); !why.isEmpty()) {
        finish({{}, why, false});
        return true;
    }
    const QByteArray query = overpassQuery(rules, cellBounds(cellColumn, cellRow));
    // One file per server, query and cell: other rules ask for other data.
    const QByteArray key =
        QCryptographicHash::hash(server.toEncoded() + '\n' + query, QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    cachePath = QDir(settings.cacheFolder)
                    .filePath(QStringLiteral("cell_%1_%2_%3.osm")
                                  .arg(cellColumn)
                                  .arg(cellRow)
                                  .arg(QString::fromLatin1(key)));
    const QFileInfo kept(cachePath);
    if (kept.isFile()
        && kept.lastModified().secsTo(QDateTime::currentDateTime()) < settings.freshSeconds) {
        finish({cachePath,
                QStringLiteral("Used the cell's data kept from %1.")
                    .arg(QLocale().toString(kept.lastModified(), QLocale::ShortFormat)),
                true});
        return true;
    }
    QNetworkRequest request(server);
    request.setHeader(QNetworkRequest::UserAgentHeader, AreaFetcher::userAgent());
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArray("application/x-www-form-urlencoded"));
    request.setTransferTimeout(settings.timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    // Made at the first request: most runs never ask, and the window starts without it.
    if (!network)
        network = new QNetworkAccessManager(this);
    reply = network->post(request, "data=" + query.toPercentEncoding());
    connect(reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > mostBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, &OverpassFetcher::answered);
    return true;
}

void OverpassFetcher::cancel()
{
    if (!reply)
        return;
    QNetworkReply *dropped = reply;
    reply = nullptr;
    dropped->disconnect(this);
    dropped->abort();
    dropped->deleteLater();
}

void OverpassFetcher::answered()
{
    QNetworkReply *done = reply;
    reply = nullptr;
    done->deleteLater();
    const int status = done->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (done->error() != QNetworkReply::NoError && status == 0) {
        finish(keptAnswer(
            done->error() == QNetworkReply::OperationCanceledError
                    || done->error() == QNetworkReply::TimeoutError
                ? QStringLiteral("The server did not answer in time.")
                : QStringLiteral("The server could not be reached: %1.").arg(done->errorString())));
        return;
    }
    const QByteArray bytes = done->readAll();
    const OverpassAnswer answer = readOverpassAnswer(status, bytes);
    if (!answer.ok) {
        finish(keptAnswer(answer.failure));
        return;
    }
    QDir().mkpath(settings.cacheFolder);
    QSaveFile file(cachePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        finish({{},
                QStringLiteral("The cell's data could not be kept in %1: %2.")
                    .arg(QDir::toNativeSeparators(settings.cacheFolder), file.errorString()),
                false});
        return;
    }
    finish({cachePath,
            QStringLiteral("Fetched the cell's data: %L1 nodes, %L2 ways, %L3 relations.")
                .arg(answer.nodes)
                .arg(answer.ways)
                .arg(answer.relations),
            false});
}

OverpassResult OverpassFetcher::keptAnswer(const QString &why) const
{
    const QFileInfo kept(cachePath);
    if (!kept.isFile())
        return {{}, why, false};
    return {cachePath,
            why
                + QStringLiteral(" Used the cell's data kept from %1.")
                      .arg(QLocale().toString(kept.lastModified(), QLocale::ShortFormat)),
            true};
}

// Always after fetch() has returned, also for a kept answer, so that callers see one order.
void OverpassFetcher::finish(OverpassResult result)
{
    QMetaObject::invokeMethod(
        this, [this, result] { emit finished(result); }, Qt::QueuedConnection);
}
