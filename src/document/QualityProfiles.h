#pragma once

#include "model/Expected.h"
#include "model/quality/QualityProfile.h"

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

    // Writes a user's profile into the folder and gives it back with its id. A profile
    // without an id gets a new one made from its name, never one another profile has; one
    // with an id replaces that profile's file. Built-ins are not written.
    Expected<QualityProfile, QString> save(QualityProfile profile) const;
    Expected<void, QString> remove(const QString &id) const;
    // Copies a profile file from anywhere into the folder, renamed "Name (2)" when its
    // name is taken; a file that is no profile is refused with the reason.
    Expected<QualityProfile, QString> importFile(const QString &path) const;
    static Expected<void, QString> exportFile(const QualityProfile &profile, const QString &path);

    // `name`, or "name (2)", "name (3)"… when a profile is called that already.
    QString unusedName(const QString &name) const;
    // Whether a stored id could name a profile (a remembered one may come from anywhere).
    static bool isPlausibleId(const QString &id);

    static constexpr int maximumUserProfiles = 1000;

private:
    QString unusedId(const QString &name) const;
    QString pathOf(const QString &id) const;

    QString m_directory;
};
