#include "text/user_settings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
// Keys of this test's own: on Windows the older stores are in the registry, which no path
// redirects, and other tests starting meanwhile carry them over too.
const QString loadKey = QStringLiteral("carryOverTest/load");
const QString outputKey = QStringLiteral("carryOverTest/outputFolder");
const QString serviceKey = QStringLiteral("carryOverTest/service");
} // namespace

// The first start after an update finds the dialogs' folders in the older store and keeps
// them; later starts leave the one file alone.
TEST(UserSettings, TheOlderFilesValuesAreCarriedOverOnceOnTheFirstStart)
{
    QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QSettings::setPath(userSettingsFormat(), QSettings::UserScope, folder.path());
    QSettings older(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Marlith"),
                    QStringLiteral("Marlith"));
    older.setValue(loadKey, QStringLiteral("/data/imagery"));
    older.setValue(outputKey, QStringLiteral("/old/output"));
    older.sync();
#ifdef Q_OS_WIN
    QSettings registry(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Marlith"),
                       QStringLiteral("Marlith3"));
    registry.setValue(serviceKey, QStringLiteral("Own tiles"));
    registry.sync();
#endif
    {
        QSettings current(userSettingsFormat(), QSettings::UserScope, QStringLiteral("Marlith"),
                          QStringLiteral("Marlith3"));
        current.setValue(outputKey, QStringLiteral("/new/output"));
    }
    {
        const auto settings = userSettings();
        EXPECT_EQ(settings->value(loadKey), QStringLiteral("/data/imagery"));
        EXPECT_EQ(settings->value(outputKey), QStringLiteral("/new/output"))
            << "a value of the one file wins";
#ifdef Q_OS_WIN
        EXPECT_EQ(settings->value(serviceKey), QStringLiteral("Own tiles"));
        registry.remove(QStringLiteral("carryOverTest"));
        const char *name = "Marlith/Marlith3.ini";
#else
        const char *name = "Marlith/Marlith3.conf";
#endif
        settings->remove(loadKey);
        settings->sync();
        EXPECT_TRUE(QFile::exists(folder.filePath(name))) << "one file the user can find";
    }
    // Written to the one file: a removed value does not come back from the older one.
    QSettings current(userSettingsFormat(), QSettings::UserScope, QStringLiteral("Marlith"),
                      QStringLiteral("Marlith3"));
    carryOverSettings({&older}, current);
    older.remove(QStringLiteral("carryOverTest"));
    EXPECT_FALSE(current.contains(loadKey));
    EXPECT_FALSE(userSettings()->contains(loadKey));
}
