#include "app/SettingsSeeder.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class tst_SettingsSeeder : public QObject
{
    Q_OBJECT

private slots:
    void seedsOncePerNewBuild_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<int>("build");
        QTest::addColumn<QVariantMap>("expected");
        QTest::newRow("first start stores every key and the build")
            << QVariantMap{} << 5 << QVariantMap{{"saveEncoding", 0}, {"autosaveDelaySeconds", 3}, {"lastVersion", 5}};
        QTest::newRow("same build again writes nothing")
            << QVariantMap{{"lastVersion", 5}} << 5 << QVariantMap{{"lastVersion", 5}};
        QTest::newRow("newer build keeps the user's choice and adds new keys")
            << QVariantMap{{"lastVersion", 4}, {"saveEncoding", 106}} << 5
            << QVariantMap{{"saveEncoding", 106}, {"autosaveDelaySeconds", 3}, {"lastVersion", 5}};
        QTest::newRow("older build writes nothing and keeps the higher number")
            << QVariantMap{{"lastVersion", 9}} << 5 << QVariantMap{{"lastVersion", 9}};
    }

    void seedsOncePerNewBuild()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(int, build);
        QFETCH(QVariantMap, expected);
        QTemporaryDir dir;
        QSettings settings(dir.filePath("settings.ini"), QSettings::IniFormat);
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            settings.setValue(it.key(), it.value());
        SettingsSeeder::seed(settings, {{"saveEncoding", 0}, {"autosaveDelaySeconds", 3}}, build);
        QVariantMap actual;
        for (const QString &key : settings.allKeys())
            actual.insert(key, settings.value(key).toInt());
        QCOMPARE(actual, expected);
    }

};

QTEST_GUILESS_MAIN(tst_SettingsSeeder)
#include "tst_settingsseeder.moc"
