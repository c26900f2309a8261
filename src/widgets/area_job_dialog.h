#pragma once

#include "areas/area_job.h"
#include "jobs/job_runner.h"

#include <QDialog>

class QDialogButtonBox;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// What the dialogs that write many areas share: Write and Cancel, a progress bar, the summary
// and the job that writes off the window's thread. Escape, closing the dialog or Cancel stop
// the job without waiting for it, and the output folder stays as it was.
class AreaJobDialog : public QDialog
{
    Q_OBJECT

public:
    bool running() const { return m_job.busy(); }
    // The output folder and the files of the last run that wrote, for the preview.
    QString writtenFolder() const { return m_writtenFolder; }
    QStringList writtenFiles() const { return m_writtenFiles; }
    // Of those, the areas' LWM files.
    QStringList writtenAreas() const;

public slots:
    virtual void cmdwrite_Click() = 0;
    void cmdcancel_Click();
    // Escape and the window's close button: a running job is cancelled, and the dialog goes.
    void reject() override;

signals:
    // The job ended, written, refused, cancelled or failed; the summary says which.
    void done();
    // A run wrote its files; writtenFiles() names them. Comes before done().
    void written();

protected:
    // `name` prefixes the object names of the progress bar and the summary ("areasprogress").
    AreaJobDialog(const QString &name, QWidget *parent);

    // Starts `write(hooks)`, which writes into `folder`, on the job runner, showing `status`
    // until it ends; then the summary shows the outcome's text.
    template <typename Write>
    void startJob(const QString &folder, const QString &status, Write write)
    {
        jobStarted(status);
        m_job.run(
            [write = std::move(write), stop = m_stop](JobControl &job) {
                AreasHooks hooks;
                hooks.progress = [&job](qint64 done, qint64 total) { job.progress(done, total); };
                hooks.canceled = [&job, stop] { return job.canceled() || stop.canceled(); };
                return write(hooks);
            },
            [this, folder](const auto &outcome) {
                const bool wrote = outcome.result == AreasOutcome::Result::Written;
                jobEnded(wrote, outcome.text);
                if (wrote) {
                    m_writtenFolder = folder;
                    m_writtenFiles = outcome.written;
                    emit written();
                }
                emit done();
            });
    }

    // Write is offered whenever no job runs; a dialog may ask for more.
    virtual void updateWrite();

    QProgressBar *progress;
    QPlainTextEdit *summary;
    QDialogButtonBox *buttons;
    QPushButton *cmdwrite, *cmdcancel;

private:
    void jobStarted(const QString &status);
    void jobEnded(bool written, const QString &text);
    void showProgress(qint64 done, qint64 total);

    JobRunner m_job{JobRunner::Policy::Queued};
    CancelToken m_stop;
    QString m_writtenFolder;
    QStringList m_writtenFiles;
};
