#include "session/dialog_folders.h"
#include "text/user_settings.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(DialogFolders, EachDialogKeepsTheFolderOfItsLastFileAcrossRuns)
{
    QTemporaryDir settings;
    QSettings::setPath(userSettingsFormat(), QSettings::UserScope, settings.path());
    EXPECT_EQ(dialogFolder(FileDialog::Load), QString());

    // "/" here, a drive such as "C:/" on Windows, where "/data" lacks its drive.
    const QString root = QDir::rootPath();
    rememberDialogFile(FileDialog::Load, root + QStringLiteral("data/imagery/area.tif"));
    rememberDialogFile(FileDialog::Export, root + QStringLiteral("data/gis/shore.geojson"));
    rememberDialogFile(FileDialog::Load, root + QStringLiteral("data/imagery2/next.tif"));
    EXPECT_EQ(dialogFolder(FileDialog::Load), root + QStringLiteral("data/imagery2"));
    EXPECT_EQ(dialogFolder(FileDialog::Export), root + QStringLiteral("data/gis"));
    EXPECT_EQ(dialogFolder(FileDialog::Save), QString());
    EXPECT_EQ(dialogFolder(FileDialog::Import), QString());
    // Written to disk, where the next run reads it.
    EXPECT_TRUE(userSettings()->contains(QStringLiteral("dialogFolders/export")));
}
