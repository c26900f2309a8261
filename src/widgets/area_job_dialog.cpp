#include "widgets/area_job_dialog.h"

#include "imagery/gdal_setup.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include <climits>

AreaJobDialog::AreaJobDialog(const QString &name, QWidget *parent) : QDialog(parent)
{
    progress = new QProgressBar(this);
    progress->setObjectName(name + QStringLiteral("progress"));
    progress->setValue(0);
    summary = new QPlainTextEdit(this);
    summary->setObjectName(name + QStringLiteral("summary"));
    summary->setReadOnly(true);

    buttons = new QDialogButtonBox(this);
    cmdwrite = buttons->addButton(QStringLiteral("&Write"), QDialogButtonBox::AcceptRole);
    cmdwrite->setObjectName(QStringLiteral("cmdwrite"));
    cmdcancel = buttons->addButton(QDialogButtonBox::Cancel);
    cmdcancel->setObjectName(QStringLiteral("cmdcancel"));
    // The buttons act here; none of them closes the dialog behind a running job.
    disconnect(buttons, nullptr, this, nullptr);
    connect(cmdwrite, &QPushButton::clicked, this, &AreaJobDialog::cmdwrite_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &AreaJobDialog::cmdcancel_Click);
    connect(&m_job, &JobRunner::progress, this, &AreaJobDialog::showProgress);
    // A job that threw wrote nothing: say why, and let the user try again.
    connect(&m_job, &JobRunner::failed, this, [this](const QString &what) {
        jobEnded(false, QStringLiteral("Nothing was written: %1").arg(what));
        emit done();
    });
}

QStringList AreaJobDialog::writtenAreas() const
{
    QStringList areas;
    for (const QString &name : m_writtenFiles) {
        if (name.startsWith(u"LWM_"))
            areas << name;
    }
    return areas;
}

void AreaJobDialog::updateWrite()
{
    cmdwrite->setEnabled(!running());
}

void AreaJobDialog::jobStarted(const QString &status)
{
    // GDAL's drivers are registered here, on the window's thread, before the job opens a file.
    setUpGdal();
    cmdwrite->setEnabled(false);
    progress->setRange(0, 0);
    summary->setPlainText(status);
    // Cancel asks the job to stop and still hears how it ended, since the files may be in by
    // then; Escape and closing drop the job with the dialog.
    m_stop = CancelToken();
}

void AreaJobDialog::jobEnded(bool written, const QString &text)
{
    progress->setRange(0, 1);
    progress->setValue(written ? 1 : 0);
    summary->setPlainText(text);
    updateWrite();
}

void AreaJobDialog::showProgress(qint64 done, qint64 total)
{
    progress->setRange(0, int(std::min<qint64>(total, INT_MAX)));
    progress->setValue(int(std::min<qint64>(done, INT_MAX)));
}

void AreaJobDialog::cmdcancel_Click()
{
    if (!running())
        return reject();
    m_stop.cancel();
    summary->setPlainText(QStringLiteral("Canceling..."));
}

void AreaJobDialog::reject()
{
    m_job.cancel();
    QDialog::reject();
}
