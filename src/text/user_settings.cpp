#include "text/user_settings.h"

#include <QSettings>

#include <mutex>

namespace {
const QString carriedOverKey = QStringLiteral("settings/carriedOver");
} // namespace

void carryOverSettings(const QSettings &older, QSettings &settings)
{
    if (settings.value(carriedOverKey).toBool())
        return;
    for (const QString &key : older.allKeys())
        if (!settings.contains(key))
            settings.setValue(key, older.value(key));
    settings.setValue(carriedOverKey, true);
}

std::unique_ptr<QSettings> userSettings()
{
    auto settings = std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Marlith"),
                                                QStringLiteral("Marlith3"));
    static std::once_flag once;
    std::call_once(once, [&] {
        // Where the dialogs' folders were kept before: the organisation's and window's names.
        const QSettings older(QSettings::UserScope, QStringLiteral("Marlith"),
                              QStringLiteral("Marlith"));
        carryOverSettings(older, *settings);
    });
    return settings;
}

QVariant userSetting(const QString &key)
{
    return userSettings()->value(key);
}

void setUserSetting(const QString &key, const QVariant &value)
{
    userSettings()->setValue(key, value);
}
