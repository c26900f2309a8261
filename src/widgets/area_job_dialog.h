#pragma once

#include "areas/area_job.h"
#include "jobs/job_runner.h"
#include "session/dialog_folders.h"

#include <QDialog>

class Desktop;
class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// What the dialogs that write many areas share: the input file and the output folder with
// their "..." buttons and memory, Write and Cancel (Close while no job runs), a progress bar,
// the summary and the job that writes off the window's thread. Escape, closing the dialog or
// Cancel stop the job without waiting for it, and the output folder stays as it was.
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
    void cmdinput_Click();
    void cmdoutputfolder_Click();
    // Escape and the window's close button: a running job is cancelled, and the dialog goes.
    void reject() override;

signals:
    // The job ended, written, refused, cancelled or failed; the summary says which.
    void done();
    // A run wrote its files; writtenFiles() names them. Comes before done().
    void written();

protected:
    // The file a dialog reads and where it writes. The input's field and "..." button are
    // named after `inputName` ("txtshapefile", "cmdshapefile"), its dialog shows
    // `inputFilter`, and `inputWhat` names it in the word why Write waits ("a shape file").
    // The input starts as the file last written from, and the output folder as the folder last
    // written into, else `outputFolder`, where Create writes.
    struct Paths
    {
        FileDialog input, folder;
        QString inputName, inputFilter, inputWhat, outputFolder;
    };
    // `name` prefixes the object names of the progress bar and the summary ("areasprogress").
    AreaJobDialog(Desktop &desktop, const QString &name, const Paths &paths, QWidget *parent);

    // The rows of the input and the output folder, each field with its "..." button, for the
    // dialog's form.
    void addInputRow(QFormLayout *form, const QString &label);
    void addOutputFolderRow(QFormLayout *form);
    // A field with its "..." button beside it, labelled so that the label's key reaches the
    // field.
    static void addBrowsedRow(QFormLayout *form, const QString &label, QLineEdit *field,
                              QPushButton *browse);
    // Lays the dialog out: the form, the progress bar, the summary, why Write waits, and the
    // buttons.
    void layOut(QFormLayout *form);

    // Starts `write(hooks)`, which writes into `folder`, on the job runner, showing `status`
    // until it ends; then the summary shows the outcome's text. Both paths come back the next
    // time, in this run or the next.
    template <typename Write>
    void startJob(const QString &folder, const QString &status, Write write)
    {
        jobStarted(folder, status);
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
                    sayWhatThePreviewShows();
                    emit written();
                }
                emit done();
            });
    }

    // The fields' paths as the job takes them.
    QString inputPath() const;
    QString outputFolder() const;

    Desktop &m_desktop;
    QLineEdit *txtinput, *txtoutputfolder;
    QProgressBar *progress;
    QPlainTextEdit *summary;
    QDialogButtonBox *buttons;
    QPushButton *cmdwrite, *cmdcancel;

private:
    // Write waits for a running job and for both paths, and says which path is missing.
    void updateWrite();
    void jobStarted(const QString &folder, const QString &status);
    void jobEnded(bool written, const QString &text);
    void showProgress(qint64 done, qint64 total);
    void showRunning(bool running);
    void sayWhatThePreviewShows();

    JobRunner m_job{JobRunner::Policy::Queued};
    CancelToken m_stop;
    Paths m_paths;
    QLabel *lblwritewhy;
    QString m_writtenFolder;
    QStringList m_writtenFiles;
};
