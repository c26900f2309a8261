#pragma once

#include "areas/area_job.h"
#include "jobs/job_runner.h"

#include <QDialog>

class Desktop;
class QComboBox;
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
    AreasDialog(Desktop &desktop, const SourceChoices &start, QWidget *parent = nullptr);

    bool running() const { return m_job.busy(); }

public slots:
    void cmdshapefile_Click();
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

    Desktop &m_desktop;
    QLineEdit *txtshapefile, *txtoutputfolder, *txtshape, *txtareaaltitude, *txtareawidth;
    QComboBox *cboareatype, *cboarealayer, *cboareafill;
    QProgressBar *progress;
    QPlainTextEdit *summary;
    QPushButton *cmdwrite, *cmdcancel;
    JobRunner m_job{JobRunner::Policy::Queued};
    CancelToken m_stop;
};
