#include "widgets/service_dialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

ServiceDialog::ServiceDialog(QWidget *parent, const ImageryService *initial)
    : QDialog(parent), url(new QLineEdit(this)), name(new QLineEdit(this)),
      maxZoom(new QSpinBox(this)), attribution(new QLineEdit(this)), licence(new QLineEdit(this)),
      problem(new QLabel(this))
{
    setWindowTitle(initial ? QStringLiteral("Change Service") : QStringLiteral("Add Service"));
    url->setObjectName(QStringLiteral("txtserviceurl"));
    name->setObjectName(QStringLiteral("txtservicename"));
    maxZoom->setObjectName(QStringLiteral("spnmaxzoom"));
    attribution->setObjectName(QStringLiteral("txtattribution"));
    licence->setObjectName(QStringLiteral("txtlicence"));
    url->setMinimumWidth(480);
    url->setPlaceholderText(QStringLiteral("https://tiles.example.org/{z}/{x}/{y}.png"));
    name->setPlaceholderText(QStringLiteral("the host's name"));
    maxZoom->setRange(0, deepestZoom);
    maxZoom->setValue(initial ? initial->maxZoom : 19);
    if (initial) {
        url->setText(initial->urlTemplate);
        name->setText(initial->name);
        attribution->setText(initial->attribution);
        licence->setText(initial->licence);
    }
    problem->setWordWrap(true);
    problem->setObjectName(QStringLiteral("lblserviceproblem"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Address:"), url);
    form->addRow(QStringLiteral("&Name:"), name);
    form->addRow(QStringLiteral("&Maximum zoom:"), maxZoom);
    form->addRow(QStringLiteral("A&ttribution:"), attribution);
    form->addRow(QStringLiteral("&Licence link:"), licence);
    auto *help = new QLabel(
        QStringLiteral("Tiles: {z} {x} {y}, {-y} for rows from the south, or {q} for a "
                       "quadkey. WMS GetMap: {west} {south} {east} {north} in degrees, for a "
                       "256 × 256 picture. Use only services whose terms allow it."),
        this);
    help->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)
        ->setText(initial ? QStringLiteral("&Change") : QStringLiteral("&Add"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ServiceDialog::tryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(help);
    layout->addWidget(problem);
    layout->addWidget(buttons);
    url->setFocus();
}

void ServiceDialog::tryAccept()
{
    const ServiceCheck check = makeService(name->text(), url->text(), maxZoom->value(),
                                           attribution->text(), licence->text());
    if (!check.service) {
        problem->setText(check.failure);
        url->setFocus();
        return;
    }
    made = *check.service;
    accept();
}

EditServicesDialog::EditServicesDialog(QWidget *parent, const QList<ImageryService> &services)
    : QDialog(parent), list(services), names(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Edit Services"));
    names->setObjectName(QStringLiteral("lstservices"));
    auto *changeButton = new QPushButton(QStringLiteral("&Change..."), this);
    auto *removeButton = new QPushButton(QStringLiteral("&Remove"), this);
    changeButton->setObjectName(QStringLiteral("cmdchangeservice"));
    removeButton->setObjectName(QStringLiteral("cmdremoveservice"));
    connect(changeButton, &QPushButton::clicked, this, &EditServicesDialog::change);
    connect(removeButton, &QPushButton::clicked, this, &EditServicesDialog::remove);
    connect(names, &QListWidget::itemDoubleClicked, this, &EditServicesDialog::change);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->addButton(changeButton, QDialogButtonBox::ActionRole);
    buttons->addButton(removeButton, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(names);
    layout->addWidget(buttons);
    refill(0);
}

void EditServicesDialog::refill(int current)
{
    names->clear();
    for (const ImageryService &service : list)
        names->addItem(service.name);
    if (!list.isEmpty())
        names->setCurrentRow(std::clamp(current, 0, int(list.size()) - 1));
}

void EditServicesDialog::change()
{
    const int row = names->currentRow();
    if (row < 0)
        return;
    ServiceDialog dialog(this, &list[row]);
    if (dialog.exec() == QDialog::Accepted) {
        list[row] = dialog.service();
        refill(row);
    }
}

void EditServicesDialog::remove()
{
    const int row = names->currentRow();
    if (row < 0)
        return;
    list.removeAt(row);
    refill(row);
}
