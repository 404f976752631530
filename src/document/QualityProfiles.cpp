#include "document/QualityProfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

QualityProfiles::QualityProfiles(QString directory)
    : m_directory(std::move(directory))
{
}

QString QualityProfiles::defaultDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/profiles");
}

QList<QualityProfile> QualityProfiles::userProfiles() const
{
    QList<QualityProfile> profiles;
    const QFileInfoList files = QDir(m_directory).entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        if (profiles.size() == maximumUserProfiles)
            break;
        auto read = QualityProfile::readFile(file.filePath());
        if (!read)
            continue;
        QualityProfile profile = std::move(read).value();
        profile.id = file.completeBaseName();
        profiles.append(std::move(profile));
    }
    std::stable_sort(profiles.begin(), profiles.end(), [](const QualityProfile &a, const QualityProfile &b) {
        return QString::localeAwareCompare(a.name, b.name) < 0;
    });
    return profiles;
}

QList<QualityProfile> QualityProfiles::all() const
{
    return QualityProfile::builtIns() + userProfiles();
}

std::optional<QualityProfile> QualityProfiles::profile(const QString &id) const
{
    for (const QualityProfile &profile : all()) {
        if (profile.id == id)
            return profile;
    }
    return std::nullopt;
}

Expected<QualityProfile, QString> QualityProfiles::find(const QString &nameOrPath) const
{
    if (QFileInfo(nameOrPath).isFile())
        return QualityProfile::readFile(nameOrPath);
    const QList<QualityProfile> profiles = all();
    for (const QualityProfile &profile : profiles) {
        if (profile.id.compare(nameOrPath, Qt::CaseInsensitive) == 0
            || profile.name.compare(nameOrPath, Qt::CaseInsensitive) == 0)
            return profile;
    }
    QStringList ids;
    for (const QualityProfile &profile : profiles)
        ids.append(profile.id);
    return tr("No quality profile is called \"%1\". The profiles are: %2. A profile's JSON file can be named by its path.")
        .arg(nameOrPath, ids.join(QStringLiteral(", ")));
}
