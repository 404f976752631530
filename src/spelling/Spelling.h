#pragma once

#include "model/Expected.h"

#include <QObject>
#include <QStringList>

#include <memory>

class PersonalDictionary;
class SpellChecker;

// Spell checking of one document window: its language (none by default), the user's
// own words, and where a text has misspelt words. Dictionaries are Hunspell's, found in
// the system's folder (or the folders in CUEWRIGHT_DICTIONARY_PATH, separated by ':').
class Spelling : public QObject
{
    Q_OBJECT

public:
    struct Range
    {
        int start;
        int length;
        friend bool operator==(const Range &, const Range &) = default;
    };

    explicit Spelling(QObject *parent = nullptr);
    ~Spelling() override;

    // Languages with a dictionary, as "en_US", sorted.
    static QStringList availableLanguages();

    QString language() const { return m_language; }
    // Switches to a language ("" switches checking off); the message when its dictionary
    // cannot be opened, and checking is then off.
    Expected<void, QString> setLanguage(const QString &language);
    bool isEnabled() const { return m_checker != nullptr; }

    bool isCorrect(const QString &word) const;
    QStringList suggestions(const QString &word) const;
    // The misspelt words of a subtitle text; tags and numbers are not words.
    QList<Range> misspelledWords(const QString &text) const;
    // Adds the word to the user's own words; the message when they could not be saved.
    Expected<void, QString> addToDictionary(const QString &word);

    // Where the user's own words are kept; tests use a file of their own.
    static void setPersonalDictionaryPath(const QString &path);

signals:
    // The language or the user's words changed: everything checked must be checked again.
    void changed();

private:
    static PersonalDictionary &personalDictionary();

    QString m_language;
    std::shared_ptr<SpellChecker> m_checker;
};
