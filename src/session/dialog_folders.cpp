#include "session/dialog_folders.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QString key(FileDialog dialog)
{
    static const char *const names[] = {"load", "open", "save", "import", "export"};
    return QStringLiteral("dialogFolders/") + QLatin1String(names[int(dialog)]);
}

} // namespace

QString dialogFolder(FileDialog dialog)
{
    return QSettings().value(key(dialog)).toString();
}

void rememberDialogFile(FileDialog dialog, const QString &chosenFile)
{
    QSettings().setValue(key(dialog), QFileInfo(chosenFile).absolutePath());
}
