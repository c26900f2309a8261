#include "widgets/areas_dialog.h"

#include "areas/area_job.h"
#include "exchange/shape_reader.h"
#include "widgets/desktop.h"
#include "widgets/program_title.h"
#include "writers/line_types.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

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
    : AreaJobDialog(desktop, QStringLiteral("areas"),
                    {FileDialog::AreasShape, FileDialog::AreasFolder, QStringLiteral("shapefile"),
                     importFilter(), QStringLiteral("a shape file"), outputFolder},
                    parent)
{
    setWindowTitle(QStringLiteral("Write Areas for a Shape"));
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

    auto *form = new QFormLayout;
    addInputRow(form, QStringLiteral("&Shape file:"));
    form->addRow(QStringLiteral("&Only the shape or layer:"), txtshape);
    addOutputFolderRow(form);
    form->addRow(QStringLiteral("&Polygons are:"), cboareafill);
    form->addRow(QStringLiteral("LWM &altitude:"), txtareaaltitude);
    form->addRow(QStringLiteral("VTP line &type:"), cboareatype);
    form->addRow(QStringLiteral("VTP &layer:"), cboarealayer);
    form->addRow(QStringLiteral("VTP line wi&dth:"), txtareawidth);

    summary->setPlaceholderText(QStringLiteral("The files written, per cell, appear here."));
    layOut(form);
    resize(520, 460);
}

void AreasDialog::cmdwrite_Click()
{
    if (running())
        return;
    AreasRequest request;
    request.shapePath = inputPath();
    request.outputFolder = outputFolder();
    request.shape = txtshape->text().trimmed();
    // A bare code, as the summary suggests typing, stands for its catalogue item.
    const QString typedType = cboareatype->currentText();
    const QString byCode = lineTypeOfCode(typedType);
    request.choices = {txtareaaltitude->text(), cboarealayer->currentText(), txtareawidth->text(),
                       byCode.isEmpty() ? typedType : byCode};
    request.fill = LwmFill(cboareafill->currentData().toInt());
    // Checked as the command line checks them, before anything starts.
    if (const QString problem = areasRequestProblem(request); !problem.isEmpty()) {
        m_desktop.messageBox(this, problem, programTitle());
        return;
    }
    startJob(request.outputFolder, QStringLiteral("Writing..."),
             [request](const AreasHooks &hooks) { return writeAreas(request, hooks); });
}
