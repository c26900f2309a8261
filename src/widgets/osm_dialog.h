#pragma once

#include "areas/area_job.h"
#include "grid/geo_bounds.h"
#include "jobs/job_runner.h"
#include "osm/osm_job.h"

#include <QDialog>
#include <optional>

class Desktop;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// File > Write Areas from OpenStreetMap...: the choices of `marlith3 osm`, a progress bar,
// Cancel and the summary, as the Write Areas dialog has them. The job runs on the shared job
// runner; Escape, closing or Cancel stop it without waiting for it and leave the output
// folder as it was. Every question goes through the desktop, so that tests never block.
class OsmDialog : public QDialog
{
    Q_OBJECT

public:
    // `cell` is the calculated cell, offered as the part to take.
    OsmDialog(Desktop &desktop, const QString &altitude, std::optional<GridPlace> cell,
              QWidget *parent = nullptr);
    bool running() const { return m_job.busy(); }
    // The output folder and the LWM files of the last run that wrote, for the preview.
    QString writtenFolder() const { return m_writtenFolder; }
    QStringList writtenAreas() const { return m_writtenAreas; }

public slots:
    void cmdextract_Click();
    void cmdrules_Click();
    void cmdwrite_Click();
    void cmdcancel_Click();
    // Escape and the window's close button: a running job is cancelled, and the dialog goes.
    void reject() override;

signals:
    void written();

private:
    void finished(const OsmOutcome &outcome);

    Desktop &m_desktop;
    QLineEdit *txtextract, *txtoutputfolder, *txtosmplace, *txtrules, *txtareaaltitude;
    QComboBox *cboosmpart;
    QCheckBox *chkwater, *chkroads, *chkwaterways;
    QProgressBar *progress;
    QPlainTextEdit *summary;
    QPushButton *cmdwrite, *cmdcancel;
    QString m_writtenFolder, m_runFolder;
    QStringList m_writtenAreas;
    JobRunner m_job{JobRunner::Policy::Queued};
    CancelToken m_stop;
};
