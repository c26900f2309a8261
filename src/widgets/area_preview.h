#pragma once

#include "grid/geo_bounds.h"
#include "workfile/written_areas.h"

#include <QObject>

#include <functional>
#include <optional>

class AreaJobDialog;
class QAction;
class QMenu;
class SessionOverlay;

// View > Next Written Area and Previous Written Area (Page Down, Page Up): each area that the
// last run of a Write Areas dialog wrote, with its polygons and the lines of its cell drawn
// over the imagery of that area, so that the author checks the files by eye before assembling.
// Escape (View > Back to the Work), a press on the picture or any change of the work shows
// the work again.
class AreaPreview final : public QObject
{
    Q_OBJECT

public:
    // `showPlace` shows the picture and the place of an area, or the work's when given none;
    // `say` puts a line in the status line.
    AreaPreview(QMenu *view, SessionOverlay *overlay,
                std::function<void(const std::optional<GridPlace> &)> showPlace,
                std::function<void(const QString &)> say, QObject *parent);

    // Takes the files of every run of `dialog` that writes.
    void watch(AreaJobDialog *dialog);
    void setWritten(const QString &folder, const QStringList &files);
    bool previewing() const;
    // A message about the picture (the cut from the imagery) while an area is shown: said
    // inside the area's line, which stays what the author reads first.
    void sayAboutPicture(const QString &text);

    void mnunextarea_Click();
    void mnupreviousarea_Click();
    void mnuendpreview_Click();

private:
    void step(int by);
    void ended();

    SessionOverlay *m_overlay;
    std::function<void(const std::optional<GridPlace> &)> m_showPlace;
    std::function<void(const QString &)> m_say;
    WrittenAreas m_written;
    QString m_folder;
    QString m_shown;            // what the status line says of the area shown, without the keys
    bool m_pictureSaid = false; // the picture's own message already carried m_shown
    QAction *m_next, *m_previous, *m_end;
};
