#pragma once

#include <QByteArray>
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
    // The new (or old) values of one edit; a key is part of the edit when it holds a value.
    struct Values
    {
        std::optional<double> start;
        std::optional<double> end;
        std::optional<QString> text;

        bool isEmpty() const { return !start && !end && !text; }
        friend bool operator==(const Values &, const Values &) = default;
    };

    // Bytes known to be valid UTF-8, kept as they are.
    struct Utf8
    {
        QByteArray bytes;
    };

    Subtitle(const QString &text, double start, double end);
    Subtitle(Utf8 text, double start, double end);

    // Exactly the text that was set.
    QString text() const;
    void setText(const QString &text);
    // The text as UTF-8, or nothing when it holds a lone surrogate, which UTF-8 cannot carry.
    std::optional<QByteArrayView> utf8() const
    {
        if (m_text.startsWith(utf16Marker))
            return std::nullopt;
        return QByteArrayView(m_text);
    }
    // The bytes the text is kept in, known without looking at them: never fewer than
    // its UTF-16 units, nor than a third of its UTF-8 bytes.
    qsizetype storedSize() const { return m_text.size(); }

    double start;
    double end;

private:
    static constexpr char utf16Marker = '\xFF';
    // UTF-8, which takes half the memory of UTF-16 for most texts and is what files hold.
    // A text with a lone surrogate is kept as its UTF-16 units after a 0xFF byte, which
    // never occurs in UTF-8.
    QByteArray m_text;
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
