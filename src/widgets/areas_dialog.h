#pragma once

#include "areas/area_job.h"
#include "widgets/area_job_dialog.h"

class Desktop;
class QComboBox;
class QLineEdit;

// File > Write Areas for a Shape...: the choices of `marlith3 areas`, a progress bar, Cancel
// and the summary, as every area job dialog has them. Every question goes through the desktop,
// so that tests never block.
class AreasDialog : public AreaJobDialog
{
    Q_OBJECT

public:
    // The fields start with the paths of the last run, or the shape file empty and the
    // folder Create writes into.
    AreasDialog(Desktop &desktop, const SourceChoices &start, const QString &outputFolder,
                QWidget *parent = nullptr);

public slots:
    void cmdwrite_Click() override;

private:
    QLineEdit *txtshape, *txtareaaltitude, *txtareawidth;
    QComboBox *cboareatype, *cboarealayer, *cboareafill;
};
