#pragma once

#include "grid/geo_bounds.h"
#include "jobs/job_runner.h"
#include "services/area_fetcher.h"
#include "workfile/work_state.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <optional>

class ServiceCatalogue;

// What the panel shows for the work's image source, off the window: a plain picture as it is;
// a georeferenced file cut to the calculated area off the calling thread; a service's area
// fetched and cut. A new source or place drops what was under way, and only the newest
// picture arrives.
class PictureFeed final : public QObject
{
    Q_OBJECT

public:
    // Only services of the catalogue are ever asked.
    PictureFeed(const ServiceCatalogue &catalogue, const FetchSettings &settings,
                QObject *parent = nullptr);
    ~PictureFeed() override;

    // Checks a file before anything changes: the source it makes, or throws Failure with one
    // sentence why not. A plain picture is decoded here once, and not again when show()
    // follows for it.
    ImageSource pick(const QString &path);
    // The source is new, or the same file again, which may have changed on disk. `place` is
    // the calculated one, none before any Calculate.
    void show(const ImageSource &source, const std::optional<GridPlace> &place);
    // After Calculate: a georeferenced file or a service gives the new area; a plain picture
    // stays as it is.
    void recut(const ImageSource &source, const GridPlace &place);
    bool busy() const;

signals:
    void picture(const QImage &image);
    void message(const QString &text);
    // A cut of a georeferenced file under way, or none any more.
    void busyChanged(bool busy);

private:
    void fetch(const ImageSource &source, const std::optional<GridPlace> &place);
    AreaFetcher *fetcher();
    void fetched(const ServiceCut &result);
    void cut(const QString &path, const AreaCut &cut);
    // Said after what the step that called says, as a fetched picture would be.
    void sayLater(const QString &text);

    // The cuts of a georeferenced file: only the newest place is wanted.
    JobRunner m_cuts{JobRunner::Policy::LatestOnly};
    const ServiceCatalogue &m_catalogue;
    FetchSettings m_fetchSettings;
    AreaFetcher *m_fetcher = nullptr;
    // A picture just decoded by pick(), so that showing it does not decode it again.
    QString m_decodedPath;
    QImage m_decoded;
};
