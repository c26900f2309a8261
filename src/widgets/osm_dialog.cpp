#include "widgets/osm_dialog.h"

#include "imagery/gdal_setup.h"
#include "widgets/desktop.h"
#include "widgets/program_title.h"

#include <QCheckBox>
#include <QComboBox>
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

namespace {

enum Part { WholeExtract, OneCell, OneBox };

QLineEdit *field(QWidget *parent, const char *name, const QString &text)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QCheckBox *check(QWidget *parent, const char *name, const QString &text)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(true);
    return box;
}

// A field with a "..." button beside it, labelled so that the label's key reaches the field.
void addBrowsedRow(QFormLayout *form, const QString &label, QLineEdit *edit, QPushButton *browse)
{
    auto *row = new QHBoxLayout;
    row->addWidget(edit);
    row->addWidget(browse);
    auto *caption = new QLabel(label, edit->parentWidget());
    caption->setBuddy(edit);
    form->addRow(caption, row);
}

} // namespace

OsmDialog::OsmDialog(Desktop &desktop, const QString &altitude, std::optional<GridPlace> cell,
                     QWidget *parent)
    : QDialog(parent), m_desktop(desktop)
{
    setWindowTitle(QStringLiteral("Write Areas from OpenStreetMap"));
    txtextract = field(this, "txtextract", {});
    txtextract->setPlaceholderText(QStringLiteral(".osm or .osm.pbf"));
    txtoutputfolder = field(this, "txtoutputfolder", {});
    cboosmpart = new QComboBox(this);
    cboosmpart->setObjectName(QStringLiteral("cboosmpart"));
    cboosmpart->addItems({QStringLiteral("The whole extract"),
                          QStringLiteral("One cell: column and row"),
                          QStringLiteral("A box: west, south, east, north")});
    txtosmplace = field(this, "txtosmplace", {});
    if (cell) {
        cboosmpart->setCurrentIndex(OneCell);
        txtosmplace->setText(QStringLiteral("%1 %2").arg(cell->cellColumn).arg(cell->cellRow));
    }
    auto showPlace = [this](int part) { txtosmplace->setEnabled(part != WholeExtract); };
    connect(cboosmpart, &QComboBox::currentIndexChanged, this, showPlace);
    showPlace(cboosmpart->currentIndex());
    chkwater = check(this, "chkwater", QStringLiteral("&Water (LWM)"));
    chkroads = check(this, "chkroads", QStringLiteral("&Roads (VTP)"));
    chkwaterways = check(this, "chkwaterways", QStringLiteral("Rivers and stream&s (VTP)"));
    txtrules = field(this, "txtrules", {});
    txtrules->setPlaceholderText(QStringLiteral("the shipped rules"));
    txtareaaltitude = field(this, "txtareaaltitude", altitude);

    auto *browseExtract = new QPushButton(QStringLiteral("..."), this);
    browseExtract->setObjectName(QStringLiteral("cmdextract"));
    connect(browseExtract, &QPushButton::clicked, this, &OsmDialog::cmdextract_Click);
    auto *browseRules = new QPushButton(QStringLiteral("..."), this);
    browseRules->setObjectName(QStringLiteral("cmdrules"));
    connect(browseRules, &QPushButton::clicked, this, &OsmDialog::cmdrules_Click);
    auto *takes = new QHBoxLayout;
    takes->addWidget(chkwater);
    takes->addWidget(chkroads);
    takes->addWidget(chkwaterways);

    auto *form = new QFormLayout;
    addBrowsedRow(form, QStringLiteral("&Extract:"), txtextract, browseExtract);
    form->addRow(QStringLiteral("&Take:"), cboosmpart);
    form->addRow(QStringLiteral("&Cell or box:"), txtosmplace);
    form->addRow(QStringLiteral("Write:"), takes);
    addBrowsedRow(form, QStringLiteral("R&ules file:"), txtrules, browseRules);
    form->addRow(QStringLiteral("Output &folder:"), txtoutputfolder);
    form->addRow(QStringLiteral("LWM &altitude:"), txtareaaltitude);

    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("osmprogress"));
    progress->setValue(0);
    summary = new QPlainTextEdit(this);
    summary->setObjectName(QStringLiteral("osmsummary"));
    summary->setReadOnly(true);
    summary->setPlaceholderText(
        QStringLiteral("The files written per cell, and what the rules made of the extract, "
                       "appear here. View > Next Written Area then shows each area."));

    auto *buttons = new QDialogButtonBox(this);
    cmdwrite = buttons->addButton(QStringLiteral("&Write"), QDialogButtonBox::AcceptRole);
    cmdwrite->setObjectName(QStringLiteral("cmdwrite"));
    cmdcancel = buttons->addButton(QDialogButtonBox::Cancel);
    cmdcancel->setObjectName(QStringLiteral("cmdcancel"));
    disconnect(buttons, nullptr, this, nullptr);
    connect(cmdwrite, &QPushButton::clicked, this, &OsmDialog::cmdwrite_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &OsmDialog::cmdcancel_Click);
    connect(&m_job, &JobRunner::progress, this, [this](qint64 done, qint64 total) {
        progress->setRange(0, int(total));
        progress->setValue(int(done));
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(progress);
    layout->addWidget(summary);
    layout->addWidget(buttons);
    resize(560, 500);
}

void OsmDialog::cmdextract_Click()
{
    const std::optional<QString> chosen = m_desktop.openFileName(
        this, QStringLiteral("OpenStreetMap extracts (*.osm *.pbf *.osm.gz);;All files (*)"), {});
    if (!chosen)
        return;
    txtextract->setText(QDir::toNativeSeparators(*chosen));
    if (txtoutputfolder->text().isEmpty())
        txtoutputfolder->setText(
            QDir::toNativeSeparators(QFileInfo(*chosen).absolutePath() + QStringLiteral("/areas")));
}

void OsmDialog::cmdrules_Click()
{
    const std::optional<QString> chosen = m_desktop.openFileName(
        this, QStringLiteral("Rules files (*.rules *.txt);;All files (*)"), {});
    if (chosen)
        txtrules->setText(QDir::toNativeSeparators(*chosen));
}

void OsmDialog::cmdwrite_Click()
{
    if (running())
        return;
    // Checked as the command line checks them, before anything starts.
    OsmRequest request;
    request.extractPath = QDir::fromNativeSeparators(txtextract->text().trimmed());
    request.outputFolder = QDir::fromNativeSeparators(txtoutputfolder->text().trimmed());
    request.altitude = txtareaaltitude->text();
    request.water = chkwater->isChecked();
    request.roads = chkroads->isChecked();
    request.waterways = chkwaterways->isChecked();
    QString problem;
    if (request.extractPath.isEmpty())
        problem = QStringLiteral("Name the OpenStreetMap extract to read.");
    else if (request.outputFolder.isEmpty())
        problem = QStringLiteral("Name the folder the files go into.");
    else if (!request.water && !request.roads && !request.waterways)
        problem = QStringLiteral("Tick water, roads or rivers: there is nothing else to write.");
    if (problem.isEmpty() && cboosmpart->currentIndex() != WholeExtract) {
        const OsmBoxOrError place = cboosmpart->currentIndex() == OneCell
                                        ? readOsmCell(txtosmplace->text())
                                        : readOsmBox(txtosmplace->text());
        problem = place.failure;
        request.box = place.box;
    }
    if (problem.isEmpty() && !txtrules->text().trimmed().isEmpty()) {
        request.rulesPath = QDir::fromNativeSeparators(txtrules->text().trimmed());
        const OsmRulesOrError rules = loadOsmRules(request.rulesPath);
        problem = rules.failure;
        request.rules = rules.rules;
    }
    if (!problem.isEmpty()) {
        m_desktop.messageBox(this, problem, programTitle());
        return;
    }
    // GDAL's drivers are registered here, on the window's thread, before the job opens a file.
    setUpGdal();
    m_runFolder = request.outputFolder;
    cmdwrite->setEnabled(false);
    progress->setRange(0, 0);
    summary->setPlainText(
        QStringLiteral("Reading %1...").arg(QFileInfo(request.extractPath).fileName()));
    // Cancel asks the job to stop and still hears how it ended; Escape and closing drop it.
    m_stop = CancelToken();
    m_job.run(
        [request, stop = m_stop](JobControl &job) {
            AreasHooks hooks;
            hooks.progress = [&job](qint64 done, qint64 total) { job.progress(done, total); };
            hooks.canceled = [&job, stop] { return job.canceled() || stop.canceled(); };
            return writeOsmAreas(request, hooks);
        },
        [this](const OsmOutcome &outcome) { finished(outcome); });
}

void OsmDialog::cmdcancel_Click()
{
    if (!running())
        return reject();
    m_stop.cancel();
    summary->setPlainText(QStringLiteral("Canceling..."));
}

void OsmDialog::reject()
{
    m_job.cancel();
    QDialog::reject();
}

void OsmDialog::finished(const OsmOutcome &outcome)
{
    progress->setRange(0, 1);
    progress->setValue(outcome.result == AreasOutcome::Result::Written ? 1 : 0);
    summary->setPlainText(outcome.text);
    cmdwrite->setEnabled(true);
    if (outcome.result == AreasOutcome::Result::Written) {
        m_writtenFolder = m_runFolder;
        m_writtenAreas.clear();
        for (const QString &name : outcome.written) {
            if (name.startsWith(u"LWM_"))
                m_writtenAreas << name;
        }
        emit written();
    }
}
