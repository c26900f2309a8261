#pragma once

#include "grid/geo_bounds.h"

#include <QObject>

#include <functional>
#include <optional>

class AreaJobDialog;
class Desktop;
class OverpassFetcher;
class QMenuBar;
class QWidget;

// Data > OpenStreetMap for This Cell: asks the Overpass server the user named (none is
// reached before) for the calculated cell's water, roads and waterways, then opens File >
// Write Areas from OpenStreetMap... on the answer. One request at a time; answers are kept
// and used again, also offline.
class OsmDataMenu : public QObject
{
    Q_OBJECT

public:
    using Place = std::function<std::optional<GridPlace>()>;
    // `outputFolder` is where Create writes, where the write dialog's folder starts.
    OsmDataMenu(Desktop &desktop, QMenuBar *bar, QWidget *window, Place place,
                std::function<QString()> altitude, std::function<QString()> outputFolder,
                std::function<void(const QString &)> say);

    void mnuosmcell_Click();
    void mnuosmserver_Click();

    // Opens the write dialog, on `extract` when one is given.
    void openDialog(const QString &extract = {});

signals:
    void dialogOpened(AreaJobDialog *dialog);

private:
    bool askServer();

    Desktop &m_desktop;
    QWidget *m_window;
    Place m_place;
    std::function<QString()> m_altitude, m_outputFolder;
    std::function<void(const QString &)> m_say;
    OverpassFetcher *m_fetcher;
};
