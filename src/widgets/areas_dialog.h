#pragma once

#include "areas/area_job.h"
#include "jobs/job_runner.h"

#include <QDialog>

class Desktop;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// File > Write Areas for a Shape...: the choices of `marlith3 areas`, a progress bar, Cancel
// and the summary. The job runs off the window's thread; Escape, closing the dialog or Cancel
// stop it without waiting for it, and leave the output folder as it was. Every question goes
// through the desktop, so that tests never block.
class AreasDialog : public QDialog
{
    Q_OBJECT

public:
    // The fields start with the paths of the last run, or the shape file empty and the
    // folder Create writes into.
    AreasDialog(Desktop &desktop, const SourceChoices &start, const QString &outputFolder,
                QWidget *parent = nullptr);

    bool running() const { return m_job.busy(); }

public slots:
    void cmdshapefile_Click();
    void cmdoutputfolder_Click();
    void cmdwrite_Click();
    void cmdcancel_Click();

    // Escape and the window's close button: a running job is cancelled, and the dialog goes.
    void reject() override;

signals:
    // The job ended, written, refused or cancelled; the summary says which.
    void done();

private:
    void finished(const AreasOutcome &outcome);
    void showProgress(qint64 done, qint64 total);
    // Write waits for both paths, and says which is missing.
    void updateWrite();

    Desktop &m_desktop;
    QLineEdit *txtshapefile, *txtoutputfolder, *txtshape, *txtareaaltitude, *txtareawidth;
    QComboBox *cboareatype, *cboarealayer, *cboareafill;
    QProgressBar *progress;
    QPlainTextEdit *summary;
    QPushButton *cmdwrite, *cmdcancel;
    QLabel *lblwritewhy;
    JobRunner m_job{JobRunner::Policy::Queued};
    CancelToken m_stop;
};
