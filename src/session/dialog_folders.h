#pragma once

#include <QString>

// Each file dialog opens in the folder of the file last chosen in it, kept in the settings so
// that the next run starts there too; empty (where the platform likes) before the first.
enum class FileDialog { Load, Open, Save, Import, Export };
QString dialogFolder(FileDialog dialog);
void rememberDialogFile(FileDialog dialog, const QString &chosenFile);
