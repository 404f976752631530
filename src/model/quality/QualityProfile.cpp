#include "model/quality/QualityProfile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

const QString formatName = QStringLiteral("cuewright-quality-profile");
// Version 2 counts reading speed in words a minute too. A profile that does not is still
// written as version 1, which every earlier program reads alike.
constexpr int currentVersion = 2;

const char *charactersNames[] = {"all", "withoutSpaces", "lettersAndDigits"};
const char *unitNames[] = {"charactersPerSecond", "wordsPerMinute"};

// Reads the keys of one JSON object into values, stopping at the first wrong one.
class Reader
{
public:
    explicit Reader(const QJsonObject &object, QString where = {})
        : m_object(object)
        , m_where(std::move(where))
    {
    }

    bool failed() const { return !m_error.isEmpty(); }
    QString error() const { return m_error; }

    void number(const char *key, double &value, double low, double high)
    {
        const QJsonValue found = m_object.value(QLatin1String(key));
        if (failed() || found.isUndefined())
            return;
        if (!found.isDouble() || !std::isfinite(found.toDouble()))
            return fail(QualityProfile::tr("\"%1\" must be a number.").arg(name(key)));
        if (found.toDouble() < low || found.toDouble() > high)
            return fail(QualityProfile::tr("\"%1\" must be from %2 to %3.").arg(name(key)).arg(low).arg(high));
        value = found.toDouble();
    }

    void whole(const char *key, int &value, int low, int high)
    {
        double number = value;
        this->number(key, number, low, high);
        if (!failed() && number != std::floor(number))
            return fail(QualityProfile::tr("\"%1\" must be a whole number.").arg(name(key)));
        value = int(number);
    }

    // One of `names`, by its index.
    template<typename Enum, size_t count>
    void choice(const char *key, Enum &value, const char *const (&names)[count])
    {
        const QJsonValue found = m_object.value(QLatin1String(key));
        if (failed() || found.isUndefined())
            return;
        const auto known = std::find(std::begin(names), std::end(names), found.toString());
        if (known != std::end(names))
            return void(value = Enum(known - std::begin(names)));
        QStringList quoted;
        for (const char *name : names)
            quoted << u'"' + QLatin1String(name) + u'"';
        fail(QualityProfile::tr("\"%1\" must be one of %2.").arg(name(key), quoted.join(QLatin1String(", "))));
    }

    void fail(const QString &message)
    {
        if (!failed())
            m_error = message;
    }

private:
    QString name(const char *key) const
    {
        return m_where.isEmpty() ? QLatin1String(key) : m_where + u'.' + QLatin1String(key);
    }

    const QJsonObject &m_object;
    QString m_where;
    QString m_error;
};

void readLanguage(Reader &reader, QualityProfile::LanguageLimits &language)
{
    reader.number("readingSpeed", language.maxReadingSpeed, 1, 1000);
    reader.choice("readingUnit", language.readingUnit, unitNames);
    reader.whole("maxLineLength", language.maxLineLength, 1, 10000);
    reader.whole("maxLines", language.maxLines, 1, 100);
}

// Clamped as the profile's own limits are, so that a written file always reads back.
// The unit only where it is not the profile's, which a language left without one takes.
QJsonObject languageJson(const QualityProfile::LanguageLimits &language, QualityLimits::ReadingUnit profileUnit)
{
    QualityLimits limits;
    limits.maxReadingSpeed = language.maxReadingSpeed;
    limits.maxLineLength = language.maxLineLength;
    limits.maxLines = language.maxLines;
    limits = limits.clamped();
    QJsonObject object{{QStringLiteral("readingSpeed"), limits.maxReadingSpeed},
                       {QStringLiteral("maxLineLength"), limits.maxLineLength},
                       {QStringLiteral("maxLines"), limits.maxLines}};
    if (language.readingUnit != profileUnit)
        object.insert(QStringLiteral("readingUnit"), QLatin1String(unitNames[int(language.readingUnit)]));
    return object;
}

bool isLanguageCode(const QString &code)
{
    static const QRegularExpression pattern(QStringLiteral("^[a-z]{2,3}(_[A-Z]{2})?$"));
    return pattern.match(code).hasMatch();
}

double framesAt(int frames, double rate)
{
    return std::round(frames / rate * 1000) / 1000;
}

QString rateLabel(double rate)
{
    return QString::number(rate, 'g', 5);
}

} // namespace

QualityLimits QualityProfile::limitsFor(const QString &language) const
{
    QualityLimits result = limits;
    auto found = languages.find(language);
    if (found == languages.end())
        found = languages.find(language.section(u'_', 0, 0));
    if (found != languages.end()) {
        result.maxReadingSpeed = found->second.maxReadingSpeed;
        result.readingUnit = found->second.readingUnit;
        result.maxLineLength = found->second.maxLineLength;
        result.maxLines = found->second.maxLines;
    }
    return result.clamped();
}

Expected<QualityProfile, QString> QualityProfile::fromJson(const QByteArray &bytes)
{
    if (bytes.size() > maximumFileSize)
        return tr("The file is too large to be a quality profile.");
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return tr("The file is not valid JSON (%1 at byte %2).").arg(parseError.errorString()).arg(parseError.offset);
    const QJsonObject object = document.object();
    if (!document.isObject() || object.value(QLatin1String("format")).toString() != formatName)
        return tr("The file is not a quality profile: it does not say \"format\": \"%1\".").arg(formatName);
    // A later version may mean its limits otherwise: read as this one, they would pass
    // or flag the wrong subtitles without a word.
    if (const QJsonValue version = object.value(QLatin1String("version"));
        !version.isUndefined() && !(version.isDouble() && version.toDouble() >= 1 && version.toDouble() <= currentVersion))
        return tr("The profile is of version %1; this program reads profiles of version %2 and earlier.")
            .arg(version.toVariant().toString())
            .arg(currentVersion);

    QualityProfile profile;
    const QString name = object.value(QLatin1String("name")).toString().simplified();
    if (name.isEmpty() || name.size() > maximumNameLength)
        return tr("The profile needs a \"name\" of 1 to %1 characters.").arg(maximumNameLength);
    profile.name = name;

    Reader reader(object);
    QualityLimits &limits = profile.limits;
    reader.number("frameRate", limits.frameRate, 1, 1000);
    // A profile written before words were counted has no unit: characters a second.
    reader.choice("readingUnit", limits.readingUnit, unitNames);
    reader.number("readingSpeed", limits.maxReadingSpeed, 1, 1000);
    reader.number("minDuration", limits.minDuration, 0, 3600);
    reader.number("maxDuration", limits.maxDuration, 0.1, 86400);
    reader.whole("maxLineLength", limits.maxLineLength, 1, 10000);
    reader.whole("maxLines", limits.maxLines, 1, 100);
    reader.whole("minGapFrames", limits.minGapFrames, 0, 1000);
    reader.whole("shotChangeZoneFrames", limits.shotChangeZoneFrames, 1, 50);
    reader.whole("endBeforeShotChangeFrames", limits.endBeforeShotChangeFrames, 0, limits.shotChangeZoneFrames - 1);
    if (!reader.failed() && limits.maxDuration < limits.minDuration)
        reader.fail(tr("\"maxDuration\" must not be below \"minDuration\"."));
    reader.choice("characters", limits.readingCharacters, charactersNames);
    if (reader.failed())
        return reader.error();

    const QJsonValue languages = object.value(QLatin1String("languages"));
    if (!languages.isUndefined() && !languages.isObject())
        return tr("\"languages\" must be an object of language codes.");
    const QJsonObject languageObject = languages.toObject();
    if (languageObject.size() > maximumLanguages)
        return tr("The profile has more than %1 languages.").arg(maximumLanguages);
    for (auto it = languageObject.begin(); it != languageObject.end(); ++it) {
        if (!isLanguageCode(it.key()))
            return tr("\"%1\" is not a language code such as \"ja\" or \"pt_BR\".").arg(it.key().left(20));
        if (!it.value().isObject())
            return tr("\"languages.%1\" must be an object.").arg(it.key());
        LanguageLimits language{limits.maxReadingSpeed, limits.maxLineLength, limits.maxLines, limits.readingUnit};
        const QJsonObject languageLimits = it.value().toObject();
        Reader languageReader(languageLimits, QStringLiteral("languages.") + it.key());
        readLanguage(languageReader, language);
        if (languageReader.failed())
            return languageReader.error();
        profile.languages[it.key()] = language;
    }
    return profile;
}

Expected<QualityProfile, QString> QualityProfile::readFile(const QString &path)
{
    // A folder, a device or a pipe is no profile, and opening a pipe would wait forever.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return tr("The profile cannot be read: \"%1\" is not a file.").arg(info.fileName());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return tr("The profile cannot be read: %1").arg(file.errorString());
    // A device or a huge file is refused by its first bytes, never read whole.
    const QByteArray bytes = file.read(maximumFileSize + 1);
    return fromJson(bytes);
}

QByteArray QualityProfile::toJson() const
{
    const QualityLimits clamped = limits.clamped();
    const auto countsWords = [](QualityLimits::ReadingUnit unit) { return unit == QualityLimits::ReadingUnit::WordsPerMinute; };
    const bool wordsAnywhere = countsWords(clamped.readingUnit)
                            || std::any_of(languages.begin(), languages.end(),
                                           [&](const auto &language) { return countsWords(language.second.readingUnit); });
    QJsonObject object{
        {QStringLiteral("format"), formatName},
        {QStringLiteral("version"), wordsAnywhere ? currentVersion : 1},
        {QStringLiteral("name"), name},
        {QStringLiteral("frameRate"), clamped.frameRate},
        {QStringLiteral("characters"), QLatin1String(charactersNames[int(clamped.readingCharacters)])},
        {QStringLiteral("readingUnit"), QLatin1String(unitNames[int(clamped.readingUnit)])},
        {QStringLiteral("readingSpeed"), clamped.maxReadingSpeed},
        {QStringLiteral("minDuration"), clamped.minDuration},
        {QStringLiteral("maxDuration"), clamped.maxDuration},
        {QStringLiteral("maxLineLength"), clamped.maxLineLength},
        {QStringLiteral("maxLines"), clamped.maxLines},
        {QStringLiteral("minGapFrames"), clamped.minGapFrames},
        {QStringLiteral("shotChangeZoneFrames"), clamped.shotChangeZoneFrames},
        {QStringLiteral("endBeforeShotChangeFrames"), clamped.endBeforeShotChangeFrames},
    };
    if (!languages.empty()) {
        QJsonObject languageObject;
        for (const auto &[code, language] : languages)
            languageObject.insert(code, languageJson(language, clamped.readingUnit));
        object.insert(QStringLiteral("languages"), languageObject);
    }
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

QList<QualityProfile> QualityProfile::builtIns()
{
    struct Rules
    {
        const char *id;
        QString name;
        double readingSpeed;
        int minDurationFrames;
        int maxLineLength;
        double slower; // the reading speed of the overridden languages, relative to adults'
        QualityLimits::ReadingUnit unit = QualityLimits::ReadingUnit::CharactersPerSecond;
    };
    // Words a minute as British broadcasters count them: 160 to 180 for adults, with the
    // line length and shortest duration of their other rules.
    const Rules rules[] = {
        {"adult", tr("General adult, %1 fps"), 20, 20, 42, 1},
        {"children", tr("Children, %1 fps"), 13, 30, 37, 0.75},
        {"broadcast", tr("Broadcast, %1 fps"), 17, 25, 37, 1},
        {"broadcast-wpm", tr("Broadcast (words per minute), %1 fps"), 180, 25, 37, 1,
         QualityLimits::ReadingUnit::WordsPerMinute},
    };
    QList<QualityProfile> profiles;
    for (const Rules &rule : rules) {
        for (double rate : {23.976, 24.0, 25.0, 29.97}) {
            QualityProfile profile;
            profile.id = QLatin1String(rule.id) + u'-' + rateLabel(rate);
            profile.name = rule.name.arg(QLocale().toString(rate, 'g', 5)); // "23,976" in German
            profile.isBuiltIn = true;
            profile.limits.frameRate = rate;
            profile.limits.readingUnit = rule.unit;
            profile.limits.maxReadingSpeed = rule.readingSpeed;
            profile.limits.minDuration = framesAt(rule.minDurationFrames, rate);
            profile.limits.maxLineLength = rule.maxLineLength;
            // Languages written without spaces read fewer, denser characters; there are
            // no spaces to count words by.
            profile.languages[QStringLiteral("ja")] = {std::round(4 * rule.slower), 13, 2};
            profile.languages[QStringLiteral("zh")] = {std::round(9 * rule.slower), 16, 2};
            profile.languages[QStringLiteral("ko")] = {std::round(12 * rule.slower), 16, 2};
            profiles.append(profile);
        }
    }
    return profiles;
}

std::optional<QualityProfile> QualityProfile::builtInNamed(const QString &id)
{
    for (const QualityProfile &profile : builtIns()) {
        if (profile.id == id)
            return profile;
    }
    return std::nullopt;
}

std::optional<QualityProfile> QualityProfile::builtInAtRate(const QString &id, double frameRate)
{
    if (!builtInNamed(id))
        return std::nullopt;
    const QString rules = id.left(id.lastIndexOf(u'-') + 1);
    for (const QualityProfile &profile : builtIns()) {
        if (profile.id.left(profile.id.lastIndexOf(u'-') + 1) == rules && std::abs(profile.limits.frameRate - frameRate) < 0.01)
            return profile;
    }
    return std::nullopt;
}

QString QualityProfile::defaultId()
{
    return QStringLiteral("adult-24");
}
