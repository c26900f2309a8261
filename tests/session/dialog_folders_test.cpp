#include "session/dialog_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(DialogFolders, EachDialogKeepsTheFolderOfItsLastFileAcrossRuns)
{
    QTemporaryDir settings;
    QCoreApplication::setOrganizationName(QStringLiteral("MarlithTest"));
    // INI files, which setPath moves; Windows' native settings are the registry.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    EXPECT_EQ(dialogFolder(FileDialog::Load), QString());

    // "/" here, "C:/" on Windows.
    const QString root = QDir::rootPath();
    rememberDialogFile(FileDialog::Load, root + QStringLiteral("data/imagery/area.tif"));
    rememberDialogFile(FileDialog::Export, root + QStringLiteral("data/gis/shore.geojson"));
    rememberDialogFile(FileDialog::Load, root + QStringLiteral("data/imagery2/next.tif"));
    EXPECT_EQ(dialogFolder(FileDialog::Load), root + QStringLiteral("data/imagery2"));
    EXPECT_EQ(dialogFolder(FileDialog::Export), root + QStringLiteral("data/gis"));
    EXPECT_EQ(dialogFolder(FileDialog::Save), QString());
    EXPECT_EQ(dialogFolder(FileDialog::Import), QString());
    // Written to disk, where the next run reads it.
    QSettings().sync();
    EXPECT_TRUE(QSettings().contains(QStringLiteral("dialogFolders/export")));
}
