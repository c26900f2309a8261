#pragma once

#include "areas/area_job.h"
#include "grid/geo_bounds.h"
#include "osm/osm_job.h"
#include "widgets/area_job_dialog.h"

#include <optional>

class Desktop;
class QCheckBox;
class QComboBox;
class QLineEdit;

// File > Write Areas from OpenStreetMap...: the choices of `marlith3 osm`, a progress bar,
// Cancel and the summary, as every area job dialog has them. Every question goes through the
// desktop, so that tests never block.
class OsmDialog : public AreaJobDialog
{
    Q_OBJECT

public:
    // `cell` is the calculated cell, offered as the part to take. The extract and the output
    // folder start as those of the last run, else empty and the folder Create writes into.
    OsmDialog(Desktop &desktop, const QString &altitude, std::optional<GridPlace> cell,
              const QString &outputFolder, QWidget *parent = nullptr);

public slots:
    void cmdrules_Click();
    void cmdwrite_Click() override;

private:
    QLineEdit *txtosmplace, *txtrules, *txtareaaltitude;
    QComboBox *cboosmpart;
    QCheckBox *chkwater, *chkroads, *chkwaterways;
};
