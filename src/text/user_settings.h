#pragma once

#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

// The program's one settings file: the user's configuration folder on Linux, the registry on
// Windows. Named here rather than through the application's names, which the command line,
// running without an application object, does not set. The first open in a run carries over,
// once for good, what an earlier version kept in a second file beside it.
std::unique_ptr<QSettings> userSettings();
// One value of it, for the callers that keep single values there.
QVariant userSetting(const QString &key);
void setUserSetting(const QString &key, const QVariant &value);

// Copies each value of `older` that `settings` does not hold yet, unless an earlier call did
// so: a mark in `settings` remembers it, so a value the user has since removed stays removed.
void carryOverSettings(const QSettings &older, QSettings &settings);
