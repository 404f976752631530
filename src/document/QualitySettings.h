#pragma once

#include "document/QualityProfiles.h"

#include <QObject>

class QSettings;

// The quality profiles shared by every open document: the store's list, read once and
// again after every change made through here, which is announced so that documents
// using a changed profile check again; and the profile new documents take.
class QualitySettings : public QObject
{
    Q_OBJECT

public:
    // The user's profiles; on first use, the old global limits become a profile.
    static QualitySettings *shared();
    // The profiles in `directory`, the default one named in `settings` (for tests).
    QualitySettings(const QString &directory, QSettings *settings, QObject *parent = nullptr);
    ~QualitySettings() override;

    const QualityProfiles &store() const { return m_store; }
    QList<QualityProfile> profiles() const { return m_profiles; }
    std::optional<QualityProfile> profile(const QString &id) const;

    // The profile new documents take ("quality/defaultProfile"); the program's default
    // when the chosen one is gone.
    QString defaultProfileId() const;
    QualityProfile defaultProfile() const;
    void setDefaultProfileId(const QString &id);

    Expected<QualityProfile, QString> saveProfile(const QualityProfile &profile);
    Expected<void, QString> removeProfile(const QString &id);
    Expected<QualityProfile, QString> importProfile(const QString &path);

    // A user who changed the old global limits finds them as the profile "My limits",
    // written once and made the default; the old settings are removed once nothing of
    // them can be lost. Gives the new profile's id, if one was made.
    static std::optional<QString> migrateOldLimits(QSettings &settings, const QualityProfiles &store);

signals:
    void profilesChanged();
    void defaultProfileChanged();

private:
    void reload();

    QualityProfiles m_store;
    QSettings *m_settings;
    bool m_ownsSettings = false;
    QList<QualityProfile> m_profiles;
};
