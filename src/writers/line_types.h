#pragma once

#include <QString>
#include <QStringList>

// The items of the line-type combo box, in order: group headings, line types with their
// quoted codes 1024..1209, and the separators between the groups.
const QStringList &lineTypeCatalogue();
// "0" to "100".
const QStringList &layerItems();

inline const QString lineTypeStartText = QStringLiteral("Select VTP Road/Line/Shoreline");
inline const QString layerStartText = QStringLiteral("8");
