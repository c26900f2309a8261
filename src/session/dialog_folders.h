#pragma once

#include <QString>

// Each file dialog opens in the folder of the file last chosen in it, kept in the settings so
// that the next run starts there too; empty (where the platform likes) before the first.
enum class FileDialog {
    Load,
    Open,
    Save,
    Import,
    Export,
    AreasShape,
    AreasFolder,
    OsmExtract,
    OsmRules,
    OsmFolder
};
QString dialogFolder(FileDialog dialog);
void rememberDialogFile(FileDialog dialog, const QString &chosenFile);
// The file last chosen, for a field that shows it again; empty before the first.
QString dialogFile(FileDialog dialog);
// For a dialog that picks a folder: it opens there the next time.
void rememberDialogFolder(FileDialog dialog, const QString &folder);
