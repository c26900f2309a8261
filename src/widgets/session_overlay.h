#pragma once

#include <QObject>

class ImagePanel;
class Session;
enum class ListSide;
struct EntriesChange;

// Keeps the panel's overlay what the session's lists, selection, place and area polygons
// make of it, following the session's signals. A press hands over only the points it
// appended, so that it costs the same however long the lists are; other edits draw the
// changed list afresh.
class SessionOverlay final : public QObject
{
    Q_OBJECT

public:
    SessionOverlay(const Session &session, ImagePanel *panel);

private:
    void showEntries(ListSide side, const EntriesChange &change);
    void showList(ListSide side);
    void showFilled();

    const Session &m_session;
    ImagePanel *m_panel;
};
