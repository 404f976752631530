#pragma once

#include <QVariantMap>

class QSettings;

// Fills the user's settings from the program's defaults once per new build number: a key
// the user (or an earlier seeding) already set keeps its value; a key that a newer build
// adds is filled in at that build's first start. Nothing is written between updates.
class SettingsSeeder
{
public:
    static void seed(QSettings &settings, const QVariantMap &defaults, int buildNumber);
    // The defaults compiled into the program; stops the program when they are missing.
    static QVariantMap builtInDefaults();
};
