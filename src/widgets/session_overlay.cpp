#include "widgets/session_overlay.h"

#include "canvas/overlay.h"
#include "session/session.h"
#include "widgets/image_panel.h"

SessionOverlay::SessionOverlay(const Session &session, ImagePanel *panel)
    : QObject(panel), m_session(session), m_panel(panel)
{
    connect(&session, &Session::entriesChanged, this, &SessionOverlay::showEntries);
    connect(&session, &Session::selectionChanged, this, &SessionOverlay::showList);
    // A VTP entry's pixel depends on the area; the area file's polygons belong to one area.
    connect(&session, &Session::placeChanged, this, [this] {
        showList(ListSide::Vtp);
        showFilled();
    });
    connect(&session, &Session::areaPolygonsChanged, this, &SessionOverlay::showFilled);
    showFilled();
    showList(ListSide::Lwm);
    showList(ListSide::Vtp);
}

void SessionOverlay::showEntries(ListSide side, const EntriesChange &change)
{
    if (change.kind != EntriesChange::Appended)
        return showList(side);
    const QStringList &entries = m_session.entries(side);
    if (side == ListSide::Lwm)
        m_panel->extendPolygon(lwmShape(entries, -1, change.index).points);
    else
        m_panel->extendLine(vtpShape(entries, m_session.place(), -1, change.index).points);
}

void SessionOverlay::showList(ListSide side)
{
    const QStringList &entries = m_session.entries(side);
    const int selected = m_session.selected(side);
    if (side == ListSide::Lwm)
        m_panel->setPolygon(lwmShape(entries, selected));
    else
        m_panel->setLine(vtpShape(entries, m_session.place(), selected));
}

void SessionOverlay::showFilled()
{
    m_panel->setFilled(filledShapes(m_session.areaPolygons()));
}
