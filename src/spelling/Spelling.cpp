#include "spelling/Spelling.h"

#include "spelling/PersonalDictionary.h"
#include "spelling/SpellChecker.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QTextBoundaryFinder>

namespace {

QStringList dictionaryFolders()
{
    const QString configured = qEnvironmentVariable("CUEWRIGHT_DICTIONARY_PATH");
    if (!configured.isEmpty())
        return configured.split(u':', Qt::SkipEmptyParts);
    return {QStringLiteral("/usr/share/hunspell")};
}

std::unique_ptr<PersonalDictionary> &personalDictionaryInstance()
{
    static std::unique_ptr<PersonalDictionary> dictionary;
    return dictionary;
}

// One open dictionary per language, shared by every window.
QHash<QString, std::weak_ptr<SpellChecker>> &openCheckers()
{
    static QHash<QString, std::weak_ptr<SpellChecker>> checkers;
    return checkers;
}

} // namespace

Spelling::Spelling(QObject *parent)
    : QObject(parent)
{
}

Spelling::~Spelling() = default;

QStringList Spelling::availableLanguages()
{
    QStringList languages;
    for (const QString &folder : dictionaryFolders()) {
        const QStringList files = QDir(folder).entryList({QStringLiteral("*.dic")}, QDir::Files, QDir::Name);
        for (const QString &file : files) {
            const QString language = file.chopped(4);
            if (QFileInfo::exists(folder + u'/' + language + QStringLiteral(".aff")) && !languages.contains(language))
                languages << language;
        }
    }
    languages.sort();
    return languages;
}

Expected<void, QString> Spelling::setLanguage(const QString &language)
{
    if (language == m_language && (language.isEmpty() || m_checker))
        return {};
    m_language.clear();
    m_checker.reset();
    Expected<void, QString> result;
    if (!language.isEmpty()) {
        std::shared_ptr<SpellChecker> checker = openCheckers().value(language).lock();
        for (const QString &folder : dictionaryFolders()) {
            if (checker)
                break;
            const QString base = folder + u'/' + language;
            if (!QFileInfo::exists(base + QStringLiteral(".dic")))
                continue;
            auto opened = SpellChecker::open(base + QStringLiteral(".aff"), base + QStringLiteral(".dic"));
            if (!opened) {
                result = opened.error();
                break;
            }
            checker = opened.value();
            openCheckers().insert(language, checker);
        }
        if (checker) {
            m_checker = checker;
            m_language = language;
        } else if (result) {
            result = QCoreApplication::translate("Spelling", "There is no dictionary for %1.").arg(language);
        }
    }
    emit changed();
    return result;
}

PersonalDictionary &Spelling::personalDictionary()
{
    std::unique_ptr<PersonalDictionary> &dictionary = personalDictionaryInstance();
    if (!dictionary)
        dictionary = std::make_unique<PersonalDictionary>(PersonalDictionary::defaultPath());
    return *dictionary;
}

void Spelling::setPersonalDictionaryPath(const QString &path)
{
    personalDictionaryInstance() = std::make_unique<PersonalDictionary>(path);
}

bool Spelling::isCorrect(const QString &word) const
{
    return !m_checker || personalDictionary().contains(word) || m_checker->isCorrect(word);
}

QStringList Spelling::suggestions(const QString &word) const
{
    return m_checker ? m_checker->suggestions(word) : QStringList();
}

QList<Spelling::Range> Spelling::misspelledWords(const QString &text) const
{
    QList<Range> result;
    if (!m_checker)
        return result;
    // Tags are blanked out, so the words keep their places.
    static const QRegularExpression markup(QStringLiteral(R"(<[^<>]*>|\{[^{}]*\})"));
    QString plain = text;
    auto it = markup.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        plain.replace(m.capturedStart(), m.capturedLength(), QString(m.capturedLength(), u' '));
    }
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, plain);
    qsizetype start = 0;
    while (finder.toNextBoundary() >= 0) {
        const qsizetype end = finder.position();
        const QStringView word = QStringView(plain).sliced(start, end - start);
        const bool hasLetter = std::any_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); });
        const bool hasDigit = std::any_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); });
        if (hasLetter && !hasDigit && !isCorrect(word.toString()))
            result.append({int(start), int(end - start)});
        start = end;
    }
    return result;
}

Expected<void, QString> Spelling::addToDictionary(const QString &word)
{
    auto added = personalDictionary().add(word);
    emit changed();
    return added;
}
