#include "widgets/osm_dialog.h"

#include "widgets/desktop.h"
#include "widgets/program_title.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

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

} // namespace

OsmDialog::OsmDialog(Desktop &desktop, const QString &altitude, std::optional<GridPlace> cell,
                     const QString &outputFolder, QWidget *parent)
    : AreaJobDialog(desktop, QStringLiteral("osm"),
                    {FileDialog::OsmExtract, FileDialog::OsmFolder, QStringLiteral("extract"),
                     QStringLiteral("OpenStreetMap extracts (*.osm *.pbf *.osm.gz);;All files (*)"),
                     QStringLiteral("an extract"), outputFolder},
                    parent)
{
    setWindowTitle(QStringLiteral("Write Areas from OpenStreetMap"));
    txtinput->setPlaceholderText(QStringLiteral(".osm or .osm.pbf"));
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
    chkwater = check(this, "chkwater", QStringLiteral("Water (&LWM)"));
    chkroads = check(this, "chkroads", QStringLiteral("&Roads (VTP)"));
    chkwaterways = check(this, "chkwaterways", QStringLiteral("Rivers and stream&s (VTP)"));
    txtrules = field(this, "txtrules", {});
    txtrules->setPlaceholderText(QStringLiteral("the shipped rules"));
    txtareaaltitude = field(this, "txtareaaltitude", altitude);

    auto *browseRules = new QPushButton(QStringLiteral("..."), this);
    browseRules->setObjectName(QStringLiteral("cmdrules"));
    browseRules->setAccessibleName(QStringLiteral("Choose a rules file"));
    connect(browseRules, &QPushButton::clicked, this, &OsmDialog::cmdrules_Click);
    auto *takes = new QHBoxLayout;
    takes->addWidget(chkwater);
    takes->addWidget(chkroads);
    takes->addWidget(chkwaterways);

    auto *form = new QFormLayout;
    addInputRow(form, QStringLiteral("&Extract:"));
    form->addRow(QStringLiteral("&Take:"), cboosmpart);
    form->addRow(QStringLiteral("Cell or &box:"), txtosmplace);
    form->addRow(QStringLiteral("Write:"), takes);
    addBrowsedRow(form, QStringLiteral("R&ules file:"), txtrules, browseRules);
    addOutputFolderRow(form);
    form->addRow(QStringLiteral("LWM &altitude:"), txtareaaltitude);

    summary->setPlaceholderText(
        QStringLiteral("The files written per cell, and what the rules made of the extract, "
                       "appear here. View > Next Written Area then shows each area."));

    layOut(form);
    resize(560, 500);
}

void OsmDialog::cmdrules_Click()
{
    const std::optional<QString> chosen =
        m_desktop.openFileName(this, QStringLiteral("Choose a rules file"),
                               QStringLiteral("Rules files (*.rules *.txt);;All files (*)"),
                               dialogFolder(FileDialog::OsmRules));
    if (!chosen)
        return;
    rememberDialogFile(FileDialog::OsmRules, *chosen);
    txtrules->setText(QDir::toNativeSeparators(*chosen));
}

void OsmDialog::cmdwrite_Click()
{
    if (running())
        return;
    // Checked as the command line checks them, before anything starts.
    OsmRequest request;
    request.extractPath = inputPath();
    request.outputFolder = outputFolder();
    request.altitude = txtareaaltitude->text();
    request.water = chkwater->isChecked();
    request.roads = chkroads->isChecked();
    request.waterways = chkwaterways->isChecked();
    QString problem = osmRequestProblem(request);
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
    startJob(request.outputFolder,
             QStringLiteral("Reading %1...").arg(QFileInfo(request.extractPath).fileName()),
             [request](const AreasHooks &hooks) { return writeOsmAreas(request, hooks); });
}
