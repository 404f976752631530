#pragma once

#include "model/Expected.h"
#include "model/QualityProfile.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// The profiles a user can choose from: the built-in ones, then the user's own, kept as
// JSON files in the data folder (one file a profile, named after its id). A broken file
// there is left alone and not offered.
class QualityProfiles
{
    Q_DECLARE_TR_FUNCTIONS(QualityProfiles)

public:
    // The user's profile folder, or another folder (for tests).
    explicit QualityProfiles(QString directory = defaultDirectory());
    static QString defaultDirectory();
    QString directory() const { return m_directory; }

    // Built-ins first, then the user's by name.
    QList<QualityProfile> all() const;
    QList<QualityProfile> userProfiles() const;
    std::optional<QualityProfile> profile(const QString &id) const;

    // The profile a command line names: a JSON file's path, else a profile's id or name
    // (case does not matter).
    Expected<QualityProfile, QString> find(const QString &nameOrPath) const;

    static constexpr int maximumUserProfiles = 1000;

private:
    QString m_directory;
};
