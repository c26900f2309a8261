#include "widgets/areas_dialog.h"

#include "areas/area_job.h"
#include "exchange/shape_reader.h"
#include "session/dialog_folders.h"
#include "widgets/desktop.h"
#include "widgets/program_title.h"

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
QLineEdit *field(QWidget *parent, const char *name, const QString &text)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QComboBox *combo(QWidget *parent, const char *name, const QStringList &items, const QString &text)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->addItems(items);
    box->setCurrentIndex(box->findText(text));
    box->setEditText(text);
    return box;
}
} // namespace

AreasDialog::AreasDialog(Desktop &desktop, const SourceChoices &start, const QString &outputFolder,
                         QWidget *parent)
    : AreaJobDialog(QStringLiteral("areas"), parent), m_desktop(desktop)
{
    setWindowTitle(QStringLiteral("Write Areas for a Shape"));
    txtshapefile =
        field(this, "txtshapefile", QDir::toNativeSeparators(dialogFile(FileDialog::AreasShape)));
    const QString lastFolder = dialogFolder(FileDialog::AreasFolder);
    txtoutputfolder =
        field(this, "txtoutputfolder",
              QDir::toNativeSeparators(lastFolder.isEmpty() ? outputFolder : lastFolder));
    txtshape = field(this, "txtshape", {});
    txtshape->setPlaceholderText(QStringLiteral("every polygon and line"));
    txtareaaltitude = field(this, "txtareaaltitude", start.altitude);
    txtareawidth = field(this, "txtareawidth", start.width);
    cboareatype = combo(this, "cboareatype", lineTypeCatalogue(), start.lineType);
    cboarealayer = combo(this, "cboarealayer", layerItems(), start.layer);
    cboareafill = new QComboBox(this);
    cboareafill->setObjectName(QStringLiteral("cboareafill"));
    cboareafill->addItem(QStringLiteral("Water; holes are islands"), int(LwmFill::Water));
    cboareafill->addItem(QStringLiteral("Land; holes are water"), int(LwmFill::Land));
    auto *browse = new QPushButton(QStringLiteral("..."), this);
    browse->setObjectName(QStringLiteral("cmdshapefile"));
    connect(browse, &QPushButton::clicked, this, &AreasDialog::cmdshapefile_Click);
    auto *shapeRow = new QHBoxLayout;
    shapeRow->addWidget(txtshapefile);
    shapeRow->addWidget(browse);
    auto *browseFolder = new QPushButton(QStringLiteral("..."), this);
    browseFolder->setObjectName(QStringLiteral("cmdoutputfolder"));
    browseFolder->setAccessibleName(QStringLiteral("Choose the output folder"));
    browse->setAccessibleName(QStringLiteral("Choose the shape file"));
    connect(browseFolder, &QPushButton::clicked, this, &AreasDialog::cmdoutputfolder_Click);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(txtoutputfolder);
    folderRow->addWidget(browseFolder);

    auto *form = new QFormLayout;
    // A row that holds a layout gets no buddy of its own, so its label names the field.
    auto *shapeLabel = new QLabel(QStringLiteral("&Shape file:"), this);
    shapeLabel->setBuddy(txtshapefile);
    form->addRow(shapeLabel, shapeRow);
    form->addRow(QStringLiteral("&Only the shape or layer:"), txtshape);
    auto *folderLabel = new QLabel(QStringLiteral("Output &folder:"), this);
    folderLabel->setBuddy(txtoutputfolder);
    form->addRow(folderLabel, folderRow);
    form->addRow(QStringLiteral("&Polygons are:"), cboareafill);
    form->addRow(QStringLiteral("LWM &altitude:"), txtareaaltitude);
    form->addRow(QStringLiteral("VTP line &type:"), cboareatype);
    form->addRow(QStringLiteral("VTP &layer:"), cboarealayer);
    form->addRow(QStringLiteral("VTP line wi&dth:"), txtareawidth);

    summary->setPlaceholderText(QStringLiteral("The files written, per cell, appear here."));

    lblwritewhy = new QLabel(this);
    lblwritewhy->setObjectName(QStringLiteral("lblwritewhy"));
    connect(txtshapefile, &QLineEdit::textChanged, this, &AreasDialog::updateWrite);
    connect(txtoutputfolder, &QLineEdit::textChanged, this, &AreasDialog::updateWrite);
    updateWrite();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(progress);
    layout->addWidget(summary);
    layout->addWidget(lblwritewhy);
    layout->addWidget(buttons);
    resize(520, 460);
}

void AreasDialog::updateWrite()
{
    QStringList missing;
    if (txtshapefile->text().trimmed().isEmpty())
        missing << QStringLiteral("a shape file");
    if (txtoutputfolder->text().trimmed().isEmpty())
        missing << QStringLiteral("an output folder");
    lblwritewhy->setText(
        missing.isEmpty()
            ? QString()
            : QStringLiteral("Write needs %1.").arg(missing.join(QStringLiteral(" and "))));
    lblwritewhy->setVisible(!missing.isEmpty());
    cmdwrite->setEnabled(missing.isEmpty() && !running());
}

void AreasDialog::cmdoutputfolder_Click()
{
    const QString typed = QDir::fromNativeSeparators(txtoutputfolder->text().trimmed());
    const std::optional<QString> chosen = m_desktop.chooseFolder(
        this, typed.isEmpty() ? dialogFolder(FileDialog::AreasFolder) : typed);
    if (chosen)
        txtoutputfolder->setText(QDir::toNativeSeparators(*chosen));
}

void AreasDialog::cmdshapefile_Click()
{
    const std::optional<QString> chosen =
        m_desktop.openFileName(this, importFilter(), dialogFolder(FileDialog::AreasShape));
    if (!chosen)
        return;
    txtshapefile->setText(QDir::toNativeSeparators(*chosen));
    if (txtoutputfolder->text().isEmpty())
        txtoutputfolder->setText(
            QDir::toNativeSeparators(QFileInfo(*chosen).absolutePath() + QStringLiteral("/areas")));
}

void AreasDialog::cmdwrite_Click()
{
    if (running())
        return;
    AreasRequest request;
    request.shapePath = QDir::fromNativeSeparators(txtshapefile->text().trimmed());
    request.outputFolder = QDir::fromNativeSeparators(txtoutputfolder->text().trimmed());
    request.shape = txtshape->text().trimmed();
    request.choices = {txtareaaltitude->text(), cboarealayer->currentText(), txtareawidth->text(),
                       cboareatype->currentText()};
    request.fill = LwmFill(cboareafill->currentData().toInt());
    // Checked as the command line checks them, before anything starts.
    if (const QString problem = areasRequestProblem(request); !problem.isEmpty()) {
        m_desktop.messageBox(this, problem, programTitle());
        return;
    }
    // Both paths come back the next time, in this run or the next.
    rememberDialogFile(FileDialog::AreasShape, request.shapePath);
    rememberDialogFolder(FileDialog::AreasFolder, request.outputFolder);
    startJob(request.outputFolder, QStringLiteral("Writing..."),
             [request](const AreasHooks &hooks) { return writeAreas(request, hooks); });
}
