#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>

// One subtitle: a text shown from `start` to `end` (seconds). Shared by reference among
// the list, the timeline and the clipboard code; compared and hashed by identity
// (through SubtitlePtr), ordered by start alone.
class Subtitle
{
public:
    enum class ValueKey { Start, End, Text };

    // The new (or old) values of one edit; a key is part of the edit when it holds a value.
    struct Values
    {
        std::optional<double> start;
        std::optional<double> end;
        std::optional<QString> text;

        bool isEmpty() const { return !start && !end && !text; }
        friend bool operator==(const Values &, const Values &) = default;
    };

    Subtitle(QString text, double start, double end);

    static std::optional<ValueKey> valueKeyFromRawValue(QStringView raw);
    static QString rawValue(ValueKey key);

    QString text;
    double start;
    double end;
};

using SubtitlePtr = std::shared_ptr<Subtitle>;
using SubtitleList = QList<SubtitlePtr>;

// a < b exactly when a starts before b; nothing else breaks ties.
bool operator<(const Subtitle &a, const Subtitle &b);
bool operator>(const Subtitle &a, const Subtitle &b);
bool operator<=(const Subtitle &a, const Subtitle &b);
bool operator>=(const Subtitle &a, const Subtitle &b);

// The one way subtitles are sorted: by start, stable.
void sortSubtitles(SubtitleList &subtitles);
