#pragma once

#include "areas/area_job.h"
#include "widgets/area_job_dialog.h"

class Desktop;
class QComboBox;
class QLabel;
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
    void cmdshapefile_Click();
    void cmdoutputfolder_Click();
    void cmdwrite_Click() override;

private:
    // Write waits for both paths, and says which is missing.
    void updateWrite() override;

    Desktop &m_desktop;
    QLineEdit *txtshapefile, *txtoutputfolder, *txtshape, *txtareaaltitude, *txtareawidth;
    QComboBox *cboareatype, *cboarealayer, *cboareafill;
    QLabel *lblwritewhy;
};
