#include "document/QualitySettings.h"

#include <QCoreApplication>
#include <QSettings>

namespace {

const QString defaultProfileKey = QStringLiteral("quality/defaultProfile");

} // namespace

QualitySettings::QualitySettings(const QString &directory, QSettings *settings, QObject *parent)
    : QObject(parent)
    , m_store(directory)
    , m_settings(settings)
{
    if (!m_settings) {
        m_settings = new QSettings;
        m_ownsSettings = true;
    }
    migrateOldLimits(*m_settings, m_store);
    reload();
}

QualitySettings::~QualitySettings()
{
    if (m_ownsSettings)
        delete m_settings;
}

QualitySettings *QualitySettings::shared()
{
    static QualitySettings *instance =
        new QualitySettings(QualityProfiles::defaultDirectory(), nullptr, QCoreApplication::instance());
    return instance;
}

void QualitySettings::reload()
{
    m_profiles = m_store.all();
}

std::optional<QualityProfile> QualitySettings::profile(const QString &id) const
{
    for (const QualityProfile &profile : m_profiles) {
        if (profile.id == id)
            return profile;
    }
    return std::nullopt;
}

QString QualitySettings::defaultProfileId() const
{
    const QString id = m_settings->value(defaultProfileKey).toString();
    return profile(id) ? id : QualityProfile::defaultId();
}

QualityProfile QualitySettings::defaultProfile() const
{
    return profile(defaultProfileId()).value_or(*QualityProfile::builtInNamed(QualityProfile::defaultId()));
}

void QualitySettings::setDefaultProfileId(const QString &id)
{
    if (!profile(id) || id == defaultProfileId())
        return;
    m_settings->setValue(defaultProfileKey, id);
    emit defaultProfileChanged();
}

Expected<QualityProfile, QString> QualitySettings::saveProfile(const QualityProfile &profile)
{
    auto saved = m_store.save(profile);
    if (saved) {
        reload();
        emit profilesChanged();
    }
    return saved;
}

Expected<void, QString> QualitySettings::removeProfile(const QString &id)
{
    const bool wasDefault = id == defaultProfileId();
    auto removed = m_store.remove(id);
    if (removed) {
        reload();
        emit profilesChanged();
        if (wasDefault)
            emit defaultProfileChanged();
    }
    return removed;
}

Expected<QualityProfile, QString> QualitySettings::importProfile(const QString &path)
{
    auto imported = m_store.importFile(path);
    if (imported) {
        reload();
        emit profilesChanged();
    }
    return imported;
}

std::optional<QString> QualitySettings::migrateOldLimits(QSettings &settings, const QualityProfiles &store)
{
    if (!QualityLimits::isStoredIn(settings))
        return std::nullopt;
    const QualityLimits old = QualityLimits::load(settings);
    std::optional<QString> made;
    if (old != QualityLimits()) {
        QualityProfile profile;
        profile.name = store.unusedName(tr("My limits"));
        profile.limits = old;
        auto saved = store.save(profile);
        if (!saved) {
            qWarning("The old quality limits stay in the settings: %s", qPrintable(saved.error()));
            return std::nullopt; // tried again next time
        }
        made = saved.value().id;
        settings.setValue(defaultProfileKey, *made);
    }
    QualityLimits::removeFrom(settings);
    return made;
}
