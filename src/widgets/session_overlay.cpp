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

void SessionOverlay::showPreview(const Overlay &overlay)
{
    m_previewing = true;
    m_panel->setOverlay(overlay);
}

void SessionOverlay::endPreview()
{
    if (!m_previewing)
        return;
    m_previewing = false;
    showFilled();
    showList(ListSide::Lwm);
    showList(ListSide::Vtp);
    emit previewEnded();
}

bool SessionOverlay::leavePreview()
{
    if (!m_previewing)
        return false;
    endPreview();
    return true;
}

void SessionOverlay::showEntries(ListSide side, const EntriesChange &change)
{
    if (leavePreview())
        return;
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
    if (leavePreview())
        return;
    const QStringList &entries = m_session.entries(side);
    const int selected = m_session.selected(side);
    if (side == ListSide::Lwm)
        m_panel->setPolygon(lwmShape(entries, selected));
    else
        m_panel->setLine(vtpShape(entries, m_session.place(), selected));
}

void SessionOverlay::showFilled()
{
    if (leavePreview())
        return;
    m_panel->setFilled(filledShapes(m_session.areaPolygons()));
}
