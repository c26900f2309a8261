#include "text/user_settings.h"

#include <mutex>

namespace {
const QString organisation = QStringLiteral("Marlith");
const QString carriedOverKey = QStringLiteral("settings/carriedOver");
} // namespace

QSettings::Format userSettingsFormat()
{
#ifdef Q_OS_WIN
    return QSettings::IniFormat;
#else
    // An INI file already; switching to IniFormat would rename it from .conf to .ini.
    return QSettings::NativeFormat;
#endif
}

void carryOverSettings(const QList<const QSettings *> &older, QSettings &settings)
{
    if (settings.value(carriedOverKey).toBool())
        return;
    for (const QSettings *store : older)
        for (const QString &key : store->allKeys())
            if (!settings.contains(key))
                settings.setValue(key, store->value(key));
    settings.setValue(carriedOverKey, true);
}

std::unique_ptr<QSettings> userSettings()
{
    auto settings = std::make_unique<QSettings>(userSettingsFormat(), QSettings::UserScope,
                                                organisation, QStringLiteral("Marlith3"));
    static std::once_flag once;
    std::call_once(once, [&] {
        // Where the dialogs' folders were kept before: the organisation's and window's names;
        // on Windows also the registry, where earlier builds kept everything.
        const QSettings dialogs(QSettings::NativeFormat, QSettings::UserScope, organisation,
                                QStringLiteral("Marlith"));
        QList<const QSettings *> older{&dialogs};
#ifdef Q_OS_WIN
        const QSettings registry(QSettings::NativeFormat, QSettings::UserScope, organisation,
                                 QStringLiteral("Marlith3"));
        older.prepend(&registry);
#endif
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
