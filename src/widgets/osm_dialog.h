#pragma once

#include "areas/area_job.h"
#include "grid/geo_bounds.h"
#include "osm/osm_job.h"

#include <QDialog>
#include <QFutureWatcher>

#include <atomic>
#include <optional>

class Desktop;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// File > Write Areas from OpenStreetMap...: the choices of `marlith3 osm`, a progress bar,
// Cancel and the summary, as the Write Areas dialog has them. The job runs off the window's
// thread; every question goes through the desktop, so that tests never block.
class OsmDialog : public QDialog
{
    Q_OBJECT

public:
    // `cell` is the calculated cell, offered as the part to take.
    OsmDialog(Desktop &desktop, const QString &altitude, std::optional<GridPlace> cell,
              QWidget *parent = nullptr);
    ~OsmDialog() override;

    bool running() const { return m_job.isRunning(); }
    // The output folder and the LWM files of the last run that wrote, for the preview.
    QString writtenFolder() const { return m_writtenFolder; }
    QStringList writtenAreas() const { return m_writtenAreas; }

public slots:
    void cmdextract_Click();
    void cmdrules_Click();
    void cmdwrite_Click();
    void cmdcancel_Click();

signals:
    void written();

protected:
    void reject() override;

private:
    void finished();

    Desktop &m_desktop;
    QLineEdit *txtextract, *txtoutputfolder, *txtosmplace, *txtrules, *txtareaaltitude;
    QComboBox *cboosmpart;
    QCheckBox *chkwater, *chkroads, *chkwaterways;
    QProgressBar *progress;
    QPlainTextEdit *summary;
    QPushButton *cmdwrite, *cmdcancel;
    std::atomic<bool> m_cancel{false};
    bool m_closeWhenDone = false;
    QString m_writtenFolder, m_runFolder;
    QStringList m_writtenAreas;
    QFutureWatcher<OsmOutcome> m_job;
};
