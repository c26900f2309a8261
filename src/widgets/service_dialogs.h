#pragma once

#include "services/imagery_service.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;

// Add Service, and the change of one service: the address comes first and has the focus, so
// that pasting it and pressing Return is enough. A problem shows in the dialog, which stays.
class ServiceDialog : public QDialog
{
public:
    explicit ServiceDialog(QWidget *parent, const ImageryService *initial = nullptr);
    ImageryService service() const { return made; }

private:
    void tryAccept();

    QLineEdit *url;
    QLineEdit *name;
    QSpinBox *maxZoom;
    QLineEdit *attribution;
    QLineEdit *licence;
    QLabel *problem;
    ImageryService made;
};

// Edit Services: rename, change or remove the services in the list.
class EditServicesDialog : public QDialog
{
public:
    EditServicesDialog(QWidget *parent, const QList<ImageryService> &services);
    QList<ImageryService> services() const { return list; }

private:
    void change();
    void remove();
    void refill(int current);

    QList<ImageryService> list;
    QListWidget *names;
};
