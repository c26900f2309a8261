#pragma once

#include <QString>
#include <QStringList>

// The items of the line-type combo box, in order: group headings, line types with their
// quoted codes 1024..1209, and the separators between the groups.
const QStringList &lineTypeCatalogue();
// The text starts with the quoted code of a catalogue line type, as a picked item does. The
// writer takes any text; one that names no line type assembles into no known texture.
bool namesCatalogueLineType(const QString &text);
// The catalogue's item for a bare code, "1139" as typed on the command line or in a dialog;
// empty when the catalogue has no such code.
QString lineTypeOfCode(const QString &code);
// "0" to "100".
const QStringList &layerItems();

inline const QString lineTypeStartText = QStringLiteral("Select VTP Road/Line/Shoreline");
inline const QString layerStartText = QStringLiteral("8");
