#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

class Subtitle;
using SubtitlePtr = std::shared_ptr<Subtitle>;

// One subtitle: a text shown from `start` to `end` (seconds). Shared by reference among
// the list, the timeline and the clipboard code; compared and hashed by identity
// (through SubtitlePtr), ordered by start alone.
class Subtitle
{
    struct Key
    {
    };

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

    // A subtitle and its text in one block of memory: a file of a million subtitles
    // makes a million allocations, not two million.
    static SubtitlePtr create(QStringView text, double start, double end);
    static SubtitlePtr create(const QString &text, double start, double end)
    {
        return create(QStringView(text), start, end);
    }
    // The same from bytes known to be valid UTF-8, kept as they are.
    static SubtitlePtr createUtf8(QByteArrayView text, double start, double end);

    // Only through create: `bytes` is where the room for the text is, known once the
    // block is allocated.
    Subtitle(Key, char *const &bytes, quint32 size, double start, double end);
    ~Subtitle();
    Subtitle(const Subtitle &) = delete;
    Subtitle &operator=(const Subtitle &) = delete;

    // Exactly the text that was set.
    QString text() const;
    void setText(const QString &text);
    // The text as UTF-8, or nothing when it holds a lone surrogate, which UTF-8 cannot carry.
    std::optional<QByteArrayView> utf8() const
    {
        if (m_size > 0 && m_bytes[0] == utf16Marker)
            return std::nullopt;
        return QByteArrayView(m_bytes, m_size);
    }
    // The bytes the text is kept in, known without looking at them: never fewer than
    // its UTF-16 units, nor than a third of its UTF-8 bytes.
    qsizetype storedSize() const { return m_size; }

    double start;
    double end;

private:
    // A subtitle with room for `size` bytes of text after it, at `bytes`.
    static SubtitlePtr withRoomFor(qsizetype size, double start, double end, char *&bytes);

    static constexpr char utf16Marker = '\xFF';
    // UTF-8, which takes half the memory of UTF-16 for most texts and is what files hold.
    // A text with a lone surrogate is kept as its UTF-16 units after a 0xFF byte, which
    // never occurs in UTF-8. The bytes follow the subtitle in its block, or, once the text
    // has been set again, are on the heap.
    const char *m_bytes;
    quint32 m_size;
    bool m_onHeap = false;
};

using SubtitleList = QList<SubtitlePtr>;

// a < b exactly when a starts before b; nothing else breaks ties.
bool operator<(const Subtitle &a, const Subtitle &b);
bool operator>(const Subtitle &a, const Subtitle &b);
bool operator<=(const Subtitle &a, const Subtitle &b);
bool operator>=(const Subtitle &a, const Subtitle &b);

// The one way subtitles are sorted: by start, stable.
void sortSubtitles(SubtitleList &subtitles);
