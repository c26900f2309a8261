#include "text/user_settings.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The first start after an update finds the dialogs' folders in the older file and keeps
// them; later starts leave the one file alone.
TEST(UserSettings, TheOlderFilesValuesAreCarriedOverOnceOnTheFirstStart)
{
    QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    {
        QSettings older(QSettings::UserScope, QStringLiteral("Marlith"), QStringLiteral("Marlith"));
        older.setValue(QStringLiteral("dialogFolders/load"), QStringLiteral("/data/imagery"));
        older.setValue(QStringLiteral("outputFolder"), QStringLiteral("/old/output"));
        QSettings current(QSettings::UserScope, QStringLiteral("Marlith"),
                          QStringLiteral("Marlith3"));
        current.setValue(QStringLiteral("outputFolder"), QStringLiteral("/new/output"));
    }
    {
        const auto settings = userSettings();
        EXPECT_EQ(settings->value(QStringLiteral("dialogFolders/load")),
                  QStringLiteral("/data/imagery"));
        EXPECT_EQ(settings->value(QStringLiteral("outputFolder")), QStringLiteral("/new/output"))
            << "a value of the one file wins";
        settings->remove(QStringLiteral("dialogFolders/load"));
    }
    // Written to the one file: a removed value does not come back from the older one.
    QSettings current(QSettings::UserScope, QStringLiteral("Marlith"), QStringLiteral("Marlith3"));
    const QSettings older(QSettings::UserScope, QStringLiteral("Marlith"),
                          QStringLiteral("Marlith"));
    carryOverSettings(older, current);
    EXPECT_FALSE(current.contains(QStringLiteral("dialogFolders/load")));
    EXPECT_FALSE(userSettings()->contains(QStringLiteral("dialogFolders/load")));
}
