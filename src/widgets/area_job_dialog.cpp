#include "widgets/area_job_dialog.h"

#include "imagery/gdal_setup.h"
#include "widgets/desktop.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <climits>

namespace {

QPushButton *browseButton(QWidget *parent, const QString &name, const QString &accessibleName)
{
    auto *button = new QPushButton(QStringLiteral("..."), parent);
    button->setObjectName(name);
    button->setAccessibleName(accessibleName);
    return button;
}

} // namespace

AreaJobDialog::AreaJobDialog(Desktop &desktop, const QString &name, const Paths &paths,
                             QWidget *parent)
    : QDialog(parent), m_desktop(desktop), m_paths(paths)
{
    txtinput = new QLineEdit(QDir::toNativeSeparators(dialogFile(paths.input)), this);
    txtinput->setObjectName(QStringLiteral("txt") + paths.inputName);
    const QString lastFolder = dialogFolder(paths.folder);
    txtoutputfolder = new QLineEdit(
        QDir::toNativeSeparators(lastFolder.isEmpty() ? paths.outputFolder : lastFolder), this);
    txtoutputfolder->setObjectName(QStringLiteral("txtoutputfolder"));
    lblwritewhy = new QLabel(this);
    lblwritewhy->setObjectName(QStringLiteral("lblwritewhy"));
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
    showRunning(false);
    // The buttons act here; none of them closes the dialog behind a running job.
    disconnect(buttons, nullptr, this, nullptr);
    connect(cmdwrite, &QPushButton::clicked, this, &AreaJobDialog::cmdwrite_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &AreaJobDialog::cmdcancel_Click);
    connect(&m_job, &JobRunner::progress, this, &AreaJobDialog::showProgress);
    connect(&m_job, &JobRunner::busyChanged, this, &AreaJobDialog::showRunning);
    connect(txtinput, &QLineEdit::textChanged, this, &AreaJobDialog::updateWrite);
    connect(txtoutputfolder, &QLineEdit::textChanged, this, &AreaJobDialog::updateWrite);
    // A job that threw wrote nothing: say why, and let the user try again.
    connect(&m_job, &JobRunner::failed, this, [this](const QString &what) {
        jobEnded(false, QStringLiteral("Nothing was written: %1").arg(what));
        emit done();
    });
    updateWrite();
}

void AreaJobDialog::addBrowsedRow(QFormLayout *form, const QString &label, QLineEdit *field,
                                  QPushButton *browse)
{
    auto *row = new QHBoxLayout;
    row->addWidget(field);
    row->addWidget(browse);
    // A row that holds a layout gets no buddy of its own.
    auto *caption = new QLabel(label, field->parentWidget());
    caption->setBuddy(field);
    form->addRow(caption, row);
}

void AreaJobDialog::addInputRow(QFormLayout *form, const QString &label)
{
    QPushButton *browse = browseButton(this, QStringLiteral("cmd") + m_paths.inputName,
                                       QStringLiteral("Choose ") + m_paths.inputWhat);
    connect(browse, &QPushButton::clicked, this, &AreaJobDialog::cmdinput_Click);
    addBrowsedRow(form, label, txtinput, browse);
}

void AreaJobDialog::addOutputFolderRow(QFormLayout *form)
{
    QPushButton *browse = browseButton(this, QStringLiteral("cmdoutputfolder"),
                                       QStringLiteral("Choose the output folder"));
    connect(browse, &QPushButton::clicked, this, &AreaJobDialog::cmdoutputfolder_Click);
    addBrowsedRow(form, QStringLiteral("Output &folder:"), txtoutputfolder, browse);
}

void AreaJobDialog::layOut(QFormLayout *form)
{
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(progress);
    layout->addWidget(summary);
    layout->addWidget(lblwritewhy);
    layout->addWidget(buttons);
}

QString AreaJobDialog::inputPath() const
{
    return QDir::fromNativeSeparators(txtinput->text().trimmed());
}

QString AreaJobDialog::outputFolder() const
{
    return QDir::fromNativeSeparators(txtoutputfolder->text().trimmed());
}

void AreaJobDialog::cmdinput_Click()
{
    const std::optional<QString> chosen =
        m_desktop.openFileName(this, QStringLiteral("Choose ") + m_paths.inputWhat,
                               m_paths.inputFilter, dialogFolder(m_paths.input));
    if (!chosen)
        return;
    txtinput->setText(QDir::toNativeSeparators(*chosen));
    if (outputFolder().isEmpty())
        txtoutputfolder->setText(
            QDir::toNativeSeparators(QFileInfo(*chosen).absolutePath() + QStringLiteral("/areas")));
}

void AreaJobDialog::cmdoutputfolder_Click()
{
    const QString typed = outputFolder();
    const std::optional<QString> chosen =
        m_desktop.chooseFolder(this, typed.isEmpty() ? dialogFolder(m_paths.folder) : typed);
    if (chosen)
        txtoutputfolder->setText(QDir::toNativeSeparators(*chosen));
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

void AreaJobDialog::sayWhatThePreviewShows()
{
    // A run of lines only (water left out, or a shape without polygons) leaves the preview,
    // which steps through areas, with nothing to show: said here rather than found out there.
    if (!m_writtenFiles.isEmpty() && writtenAreas().isEmpty())
        summary->appendPlainText(QStringLiteral(
            "No area was written, only lines, so View > Next Written Area has nothing to show."));
}

void AreaJobDialog::updateWrite()
{
    QStringList missing;
    if (inputPath().isEmpty())
        missing << m_paths.inputWhat;
    if (outputFolder().isEmpty())
        missing << QStringLiteral("an output folder");
    lblwritewhy->setText(
        missing.isEmpty()
            ? QString()
            : QStringLiteral("Write needs %1.").arg(missing.join(QStringLiteral(" and "))));
    lblwritewhy->setVisible(!missing.isEmpty());
    cmdwrite->setEnabled(missing.isEmpty() && !running());
}

void AreaJobDialog::jobStarted(const QString &folder, const QString &status)
{
    rememberDialogFile(m_paths.input, inputPath());
    rememberDialogFolder(m_paths.folder, folder);
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

void AreaJobDialog::showRunning(bool running)
{
    // Once nothing is left to cancel, the button only closes, and says so.
    cmdcancel->setText(running ? QStringLiteral("&Cancel") : QStringLiteral("&Close"));
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
