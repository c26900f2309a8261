#include "session/dialog_folders.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QString key(FileDialog dialog)
{
    static const char *const names[] = {"load",   "open",       "save",       "import",
                                        "export", "areasShape", "areasFolder"};
    return QStringLiteral("dialogFolders/") + QLatin1String(names[int(dialog)]);
}

} // namespace

QString dialogFolder(FileDialog dialog)
{
    return QSettings().value(key(dialog)).toString();
}

void rememberDialogFile(FileDialog dialog, const QString &chosenFile)
{
    QSettings settings;
    settings.setValue(key(dialog), QFileInfo(chosenFile).absolutePath());
    settings.setValue(key(dialog) + QStringLiteral("File"), chosenFile);
}

QString dialogFile(FileDialog dialog)
{
    return QSettings().value(key(dialog) + QStringLiteral("File")).toString();
}

void rememberDialogFolder(FileDialog dialog, const QString &folder)
{
    QSettings().setValue(key(dialog), folder);
}
