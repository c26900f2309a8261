#include "session/dialog_folders.h"
#include "text/user_settings.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(DialogFolders, EachDialogKeepsTheFolderOfItsLastFileAcrossRuns)
{
    QTemporaryDir settings;
    QCoreApplication::setOrganizationName(QStringLiteral("MarlithTest"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    EXPECT_EQ(dialogFolder(FileDialog::Load), QString());

    rememberDialogFile(FileDialog::Load, QStringLiteral("/data/imagery/area.tif"));
    rememberDialogFile(FileDialog::Export, QStringLiteral("/data/gis/shore.geojson"));
    rememberDialogFile(FileDialog::Load, QStringLiteral("/data/imagery2/next.tif"));
    EXPECT_EQ(dialogFolder(FileDialog::Load), QStringLiteral("/data/imagery2"));
    EXPECT_EQ(dialogFolder(FileDialog::Export), QStringLiteral("/data/gis"));
    EXPECT_EQ(dialogFolder(FileDialog::Save), QString());
    EXPECT_EQ(dialogFolder(FileDialog::Import), QString());
    // Written to disk, where the next run reads it.
    EXPECT_TRUE(userSettings()->contains(QStringLiteral("dialogFolders/export")));
}
