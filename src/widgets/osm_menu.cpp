#include "widgets/osm_menu.h"

#include "services/overpass_fetcher.h"
#include "text/user_settings.h"
#include "widgets/desktop.h"
#include "widgets/osm_dialog.h"
#include "widgets/program_title.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace {

const QString serverKey = QStringLiteral("overpass/server");

} // namespace

OsmDataMenu::OsmDataMenu(Desktop &desktop, QMenuBar *bar, QWidget *window, Place place,
                         std::function<QString()> altitude, std::function<QString()> outputFolder,
                         std::function<void(const QString &)> say)
    : QObject(window), m_desktop(desktop), m_window(window), m_place(std::move(place)),
      m_altitude(std::move(altitude)), m_outputFolder(std::move(outputFolder)),
      m_say(std::move(say)), m_fetcher(new OverpassFetcher({}, this))
{
    auto *data = new QMenu(QStringLiteral("&Data"), bar);
    // Before the divider that keeps Help at the end, as the other menus.
    bar->insertMenu(window->findChild<QAction *>(QStringLiteral("mnu01")), data);
    data->setObjectName(QStringLiteral("mnudata"));
    data->addAction(QStringLiteral("&OpenStreetMap for This Cell"), this,
                    &OsmDataMenu::mnuosmcell_Click)
        ->setObjectName(QStringLiteral("mnuosmcell"));
    data->addAction(QStringLiteral("Overpass &Server..."), this, &OsmDataMenu::mnuosmserver_Click)
        ->setObjectName(QStringLiteral("mnuosmserver"));
    connect(m_fetcher, &OverpassFetcher::finished, this, [this](const OverpassResult &result) {
        m_say(result.status);
        if (!result.extractPath.isEmpty())
            openDialog(result.extractPath);
    });
}

bool OsmDataMenu::askServer()
{
    const QString typed = m_desktop.inputBox(
        m_window,
        QStringLiteral("The address of an Overpass API server, such as "
                       "https://overpass.example.org/api/interpreter. Marlith asks it for one cell "
                       "at a time and keeps every answer; mind the server's usage policy."),
        programTitle());
    if (typed.trimmed().isEmpty())
        return false;
    if (const QString why = OverpassFetcher::checkServer(QUrl(typed.trimmed())); !why.isEmpty()) {
        m_desktop.messageBox(m_window, why, programTitle());
        return false;
    }
    setUserSetting(serverKey, typed.trimmed());
    return true;
}

void OsmDataMenu::mnuosmserver_Click()
{
    askServer();
}

void OsmDataMenu::mnuosmcell_Click()
{
    const std::optional<GridPlace> place = m_place();
    if (!place) {
        m_desktop.messageBox(m_window,
                             QStringLiteral("Calculate first: the data is fetched for the "
                                            "calculated cell."),
                             programTitle());
        return;
    }
    if (m_fetcher->busy()) {
        m_say(QStringLiteral("The server is still asked for a cell; one request at a time."));
        return;
    }
    if (userSetting(serverKey).toString().isEmpty() && !askServer())
        return;
    m_say(QStringLiteral("Asking the Overpass server for cell %1_%2...")
              .arg(place->cellColumn)
              .arg(place->cellRow));
    m_fetcher->fetch(QUrl(userSetting(serverKey).toString()), place->cellColumn, place->cellRow,
                     shippedOsmRules());
}

void OsmDataMenu::openDialog(const QString &extract)
{
    auto *dialog = new OsmDialog(m_desktop, m_altitude(), m_place(), m_outputFolder(), m_window);
    dialog->setObjectName(QStringLiteral("frmosm"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (!extract.isEmpty())
        dialog->findChild<QLineEdit *>(QStringLiteral("txtextract"))->setText(extract);
    emit dialogOpened(dialog);
    dialog->open();
}
