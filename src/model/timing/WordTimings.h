#pragma once

#include "model/SpokenWord.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

// When the words of aligned lines are spoken: facts of the film's sound, kept by each
// line's text and where in the film it was found. A subtitle finds its words while it has
// that text and lies over them (moved a little, undone, redone), and none once its text
// changed.
class WordTimings
{
public:
    // The words `text` was found spoken as; replaces what was known of the same text there.
    void add(const QString &text, const QList<SpokenWord> &words);
    // The words of a subtitle with this text and times; empty when none are known.
    QList<SpokenWord> wordsOf(const QString &text, double start, double end) const;
    // Every known word's start and end within [from, to], in order: edges prefer them.
    std::vector<double> edgesWithin(double from, double to) const;
    bool isEmpty() const { return m_byText.isEmpty(); }
    int lineCount() const;
    void clear();

    // For the cache; fromBytes gives none for bytes it did not write.
    QByteArray toBytes() const;
    static std::optional<WordTimings> fromBytes(const QByteArray &bytes);

private:
    void sortEdges() const;

    QHash<QString, QList<QList<SpokenWord>>> m_byText;
    mutable std::vector<double> m_edges; // sorted, made again after a change
    mutable bool m_edgesSorted = true;
};
