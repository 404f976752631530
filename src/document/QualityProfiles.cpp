#include "document/QualityProfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
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
    // Anything there but a folder is meant as a profile's file, and told so when it is
    // none (a pipe, a device); a folder only when named as a path.
    if (const QFileInfo info(nameOrPath); info.exists() && (!info.isDir() || nameOrPath.contains(u'/')))
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

QString QualityProfiles::pathOf(const QString &id) const
{
    return m_directory + u'/' + id + QStringLiteral(".json");
}

bool QualityProfiles::isPlausibleId(const QString &id)
{
    return !id.isEmpty() && id.size() <= 255 && !id.startsWith(u'.') && !id.contains(u'/') && !id.contains(u'\\')
        && std::none_of(id.begin(), id.end(), [](QChar c) { return c.unicode() < 0x20; });
}

QString QualityProfiles::unusedName(const QString &name) const
{
    const QList<QualityProfile> profiles = all();
    const auto taken = [&profiles](const QString &candidate) {
        return std::any_of(profiles.begin(), profiles.end(), [&candidate](const QualityProfile &profile) {
            return profile.name.compare(candidate, Qt::CaseInsensitive) == 0;
        });
    };
    const QString simplified = name.simplified().left(QualityProfile::maximumNameLength);
    if (!taken(simplified))
        return simplified;
    // "Name (2)" imported again is "Name (3)", not "Name (2) (2)".
    static const QRegularExpression numbered(QStringLiteral("^(.*) \\((\\d{1,6})\\)$"));
    QString base = simplified;
    int number = 2;
    if (const QRegularExpressionMatch match = numbered.match(simplified); match.hasMatch()) {
        base = match.captured(1);
        number = match.captured(2).toInt() + 1;
    }
    for (;; ++number) {
        const QString suffix = QStringLiteral(" (%1)").arg(number);
        const QString candidate = base.left(QualityProfile::maximumNameLength - suffix.size()) + suffix;
        if (!taken(candidate))
            return candidate;
    }
}

// Lower-case letters, digits and dashes from the name: a file name on every system.
QString QualityProfiles::unusedId(const QString &name) const
{
    QString base;
    for (QChar c : name.normalized(QString::NormalizationForm_KD).toLower()) {
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            base.append(c);
        else if (c.isSpace() || c.isPunct() || c.isSymbol())
            base.append(u'-');
    }
    base = base.split(u'-', Qt::SkipEmptyParts).join(u'-').left(60);
    if (base.isEmpty())
        base = QStringLiteral("profile");
    const auto taken = [this](const QString &id) {
        return QualityProfile::builtInNamed(id) || QFileInfo::exists(pathOf(id));
    };
    QString id = base;
    for (int number = 2; taken(id); ++number)
        id = base + u'-' + QString::number(number);
    return id;
}

Expected<QualityProfile, QString> QualityProfiles::save(QualityProfile profile) const
{
    if (profile.isBuiltIn || QualityProfile::builtInNamed(profile.id))
        return tr("The built-in profile \"%1\" cannot be changed; duplicate it to make your own.").arg(profile.name);
    profile.name = profile.name.simplified();
    if (profile.name.isEmpty() || profile.name.size() > QualityProfile::maximumNameLength)
        return tr("The profile needs a name of 1 to %1 characters.").arg(QualityProfile::maximumNameLength);
    if (!profile.id.isEmpty() && !isPlausibleId(profile.id))
        return tr("\"%1\" cannot name a profile file.").arg(profile.id);
    if (!QDir().mkpath(m_directory))
        return tr("The profile folder %1 cannot be made.").arg(QDir::toNativeSeparators(m_directory));
    if (profile.id.isEmpty())
        profile.id = unusedId(profile.name);
    auto written = exportFile(profile, pathOf(profile.id));
    if (!written)
        return written.error();
    return profile;
}

Expected<void, QString> QualityProfiles::remove(const QString &id) const
{
    if (QualityProfile::builtInNamed(id))
        return tr("A built-in profile cannot be deleted.");
    if (!isPlausibleId(id))
        return tr("No quality profile is called \"%1\".").arg(id);
    QFile file(pathOf(id));
    if (!file.exists())
        return tr("No quality profile is called \"%1\".").arg(id);
    if (!file.remove())
        return tr("The profile cannot be deleted: %1").arg(file.errorString());
    return {};
}

Expected<QualityProfile, QString> QualityProfiles::importFile(const QString &path) const
{
    auto read = QualityProfile::readFile(path);
    if (!read)
        return read.error();
    QualityProfile profile = std::move(read).value();
    profile.id.clear();
    profile.isBuiltIn = false;
    profile.name = unusedName(profile.name);
    return save(std::move(profile));
}

Expected<void, QString> QualityProfiles::exportFile(const QualityProfile &profile, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return tr("The profile cannot be written to %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    QualityProfile written = profile;
    written.isBuiltIn = false;
    file.write(written.toJson());
    if (!file.commit())
        return tr("The profile cannot be written to %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}
