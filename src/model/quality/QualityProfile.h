#pragma once

#include "model/Expected.h"
#include "model/quality/QualityLimits.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

#include <map>
#include <optional>

// A named set of quality limits as a client's delivery rules give them: one set for
// every language, with the reading speed, line length and line count overridden for the
// languages that read differently (Japanese or Chinese, say). Kept as a small JSON file
// that can be shared; a file from elsewhere is read with every value checked.
class QualityProfile
{
    Q_DECLARE_TR_FUNCTIONS(QualityProfile)

public:
    struct LanguageLimits
    {
        double maxReadingSpeed = 20; // in readingUnit
        int maxLineLength = 42;
        int maxLines = 2;
        // A language may count otherwise than the profile: Japanese in characters where
        // English counts words.
        QualityLimits::ReadingUnit readingUnit = QualityLimits::ReadingUnit::CharactersPerSecond;
        friend bool operator==(const LanguageLimits &, const LanguageLimits &) = default;
    };

    QString id;   // the built-in's name or the user's file name without ".json"
    QString name; // what the user sees
    bool isBuiltIn = false;
    QualityLimits limits;
    // Keyed by language code, "ja" or "pt_BR".
    std::map<QString, LanguageLimits> languages;

    // The limits for a text in `language` ("pt_BR" takes "pt_BR", else "pt", else the
    // profile's own; empty for an unknown language).
    QualityLimits limitsFor(const QString &language) const;

    // Refused with a message that names the first wrong value: not JSON, not a profile,
    // a value of the wrong type or outside its range, too large a file. Unknown keys are
    // ignored so that a newer program's profile still reads.
    static Expected<QualityProfile, QString> fromJson(const QByteArray &bytes);
    static Expected<QualityProfile, QString> readFile(const QString &path);
    QByteArray toJson() const;

    // General adult, children's and broadcast rules (in characters a second, and in words
    // a minute) at 23.976, 24, 25 and 29.97 frames per second, named in the user's language.
    static QList<QualityProfile> builtIns();
    static std::optional<QualityProfile> builtInNamed(const QString &id);
    // The built-in of the same rules as the built-in `id` made for `frameRate` (a video's
    // 29.97002997 is 29.97); nullopt for a user's profile or a rate none is made for.
    static std::optional<QualityProfile> builtInAtRate(const QString &id, double frameRate);
    // The general adult profile at 24 frames per second: the program's default limits.
    static QString defaultId();

    static constexpr qint64 maximumFileSize = 1 << 20;
    static constexpr int maximumLanguages = 500;
    static constexpr int maximumNameLength = 100;

    friend bool operator==(const QualityProfile &, const QualityProfile &) = default;
};
