#pragma once

#include <QList>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <memory>

// The program's one settings file, an INI file on every platform: the user's configuration
// folder on Linux, %APPDATA%\Marlith\Marlith3.ini on Windows, where the registry would hide it
// from a user who wants to back it up. Named here rather than through the application's names,
// which the command line, running without an application object, does not set. The first open
// in a run carries over, once for good, what earlier versions kept elsewhere.
std::unique_ptr<QSettings> userSettings();
// The format userSettings() uses, for QSettings::setPath.
QSettings::Format userSettingsFormat();
// One value of it, for the callers that keep single values there.
QVariant userSetting(const QString &key);
void setUserSetting(const QString &key, const QVariant &value);

// Copies each value of the `older` stores (the first that holds a key wins) that `settings`
// does not hold yet, unless an earlier call did so: a mark in `settings` remembers it, so a
// value the user has since removed stays removed.
void carryOverSettings(const QList<const QSettings *> &older, QSettings &settings);
