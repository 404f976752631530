#include "app/preferences/SettingsSeeder.h"

#include "model/Fatal.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>

void SettingsSeeder::seed(QSettings &settings, const QVariantMap &defaults, int buildNumber)
{
    const int lastVersion = settings.value(QStringLiteral("lastVersion"), 0).toInt();
    if (lastVersion >= buildNumber)
        return;
    for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
        if (!settings.contains(it.key()))
            settings.setValue(it.key(), it.value());
    }
    settings.setValue(QStringLiteral("lastVersion"), buildNumber);
}

QVariantMap SettingsSeeder::builtInDefaults()
{
    QFile file(QStringLiteral(":/defaults.json"));
    if (!file.open(QIODevice::ReadOnly))
        CUEWRIGHT_FATAL("the defaults resource is missing");
    const QJsonDocument json = QJsonDocument::fromJson(file.readAll());
    if (!json.isObject())
        CUEWRIGHT_FATAL("the defaults resource is not an object");
    return json.object().toVariantMap();
}
