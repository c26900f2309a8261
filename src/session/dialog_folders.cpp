#include "session/dialog_folders.h"

#include "text/user_settings.h"

#include <QFileInfo>

namespace {

QString key(FileDialog dialog)
{
    static const char *const names[] = {"load",     "open",       "save",        "import",
                                        "export",   "areasShape", "areasFolder", "osmExtract",
                                        "osmRules", "osmFolder"};
    return QStringLiteral("dialogFolders/") + QLatin1String(names[int(dialog)]);
}

} // namespace

QString dialogFolder(FileDialog dialog)
{
    return userSetting(key(dialog)).toString();
}

void rememberDialogFile(FileDialog dialog, const QString &chosenFile)
{
    setUserSetting(key(dialog), QFileInfo(chosenFile).absolutePath());
    setUserSetting(key(dialog) + QStringLiteral("File"), chosenFile);
}

QString dialogFile(FileDialog dialog)
{
    return userSetting(key(dialog) + QStringLiteral("File")).toString();
}

void rememberDialogFolder(FileDialog dialog, const QString &folder)
{
    setUserSetting(key(dialog), folder);
}
