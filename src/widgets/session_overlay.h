#pragma once

#include <QObject>

class ImagePanel;
class Session;
enum class ListSide;
struct EntriesChange;
struct Overlay;

// Keeps the panel's overlay what the session's lists, selection, place and area polygons
// make of it, following the session's signals. A press hands over only the points it
// appended, so that it costs the same however long the lists are; other edits draw the
// changed list afresh. A preview of other shapes (the areas a run wrote) may stand in for the
// session's for a while.
class SessionOverlay final : public QObject
{
    Q_OBJECT

public:
    SessionOverlay(const Session &session, ImagePanel *panel);

    // Shows `overlay` instead of the session's until endPreview(), or until the session's
    // lists, selection, place or area polygons change: then the session's is drawn again.
    void showPreview(const Overlay &overlay);
    void endPreview();
    bool previewing() const { return m_previewing; }

signals:
    void previewEnded();

private:
    // Ends a preview for a change of the session, drawing all of the session's; true if it did.
    bool leavePreview();
    void showEntries(ListSide side, const EntriesChange &change);
    void showList(ListSide side);
    void showFilled();

    const Session &m_session;
    ImagePanel *m_panel;
    bool m_previewing = false;
};
