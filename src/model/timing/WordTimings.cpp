#include "model/timing/WordTimings.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>
#include <cmath>

namespace {

constexpr quint32 magic = 0x43575754; // "CWWT"
constexpr quint16 version = 1;

double overlap(const QList<SpokenWord> &words, double start, double end)
{
    return std::min(end, words.constLast().end) - std::max(start, words.constFirst().start);
}

} // namespace

void WordTimings::add(const QString &text, const QList<SpokenWord> &words)
{
    if (words.isEmpty())
        return;
    QList<QList<SpokenWord>> &found = m_byText[text];
    found.removeIf([&](const QList<SpokenWord> &old) { return overlap(old, words.constFirst().start, words.constLast().end) > 0; });
    found.append(words);
    for (const SpokenWord &word : words) {
        m_edges.push_back(word.start);
        m_edges.push_back(word.end);
    }
    m_edgesSorted = false;
}

QList<SpokenWord> WordTimings::wordsOf(const QString &text, double start, double end) const
{
    const auto found = m_byText.constFind(text);
    if (found == m_byText.cend())
        return {};
    const QList<SpokenWord> *best = nullptr;
    double bestOverlap = 0;
    for (const QList<SpokenWord> &words : *found) {
        const double shared = overlap(words, start, end);
        if (shared > bestOverlap) {
            bestOverlap = shared;
            best = &words;
        }
    }
    return best ? *best : QList<SpokenWord>();
}

void WordTimings::sortEdges() const
{
    if (m_edgesSorted)
        return;
    // Replaced words leave their edges behind: they are made again from what is kept.
    m_edges.clear();
    for (const QList<QList<SpokenWord>> &found : m_byText) {
        for (const QList<SpokenWord> &words : found) {
            for (const SpokenWord &word : words) {
                m_edges.push_back(word.start);
                m_edges.push_back(word.end);
            }
        }
    }
    std::sort(m_edges.begin(), m_edges.end());
    m_edges.erase(std::unique(m_edges.begin(), m_edges.end()), m_edges.end());
    m_edgesSorted = true;
}

std::vector<double> WordTimings::edgesWithin(double from, double to) const
{
    sortEdges();
    const auto first = std::lower_bound(m_edges.begin(), m_edges.end(), from);
    const auto last = std::upper_bound(first, m_edges.end(), to);
    return {first, last};
}

int WordTimings::lineCount() const
{
    int count = 0;
    for (const QList<QList<SpokenWord>> &found : m_byText)
        count += int(found.size());
    return count;
}

void WordTimings::clear()
{
    m_byText.clear();
    m_edges.clear();
    m_edgesSorted = true;
}

QByteArray WordTimings::toBytes() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << magic << version << quint32(lineCount());
    for (auto it = m_byText.cbegin(); it != m_byText.cend(); ++it) {
        for (const QList<SpokenWord> &words : it.value()) {
            out << it.key() << quint32(words.size());
            for (const SpokenWord &word : words)
                out << word.word << word.start << word.end;
        }
    }
    return bytes;
}

std::optional<WordTimings> WordTimings::fromBytes(const QByteArray &bytes)
{
    QDataStream in(bytes);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 readMagic = 0;
    quint16 readVersion = 0;
    quint32 lines = 0;
    in >> readMagic >> readVersion >> lines;
    if (in.status() != QDataStream::Ok || readMagic != magic || readVersion != version)
        return std::nullopt;
    WordTimings timings;
    for (quint32 i = 0; i < lines; ++i) {
        QString text;
        quint32 count = 0;
        in >> text >> count;
        // A count no byte array could hold is damage, not a reason to allocate.
        if (in.status() != QDataStream::Ok || count > quint32(bytes.size()))
            return std::nullopt;
        QList<SpokenWord> words;
        for (quint32 k = 0; k < count && in.status() == QDataStream::Ok; ++k) {
            SpokenWord word;
            in >> word.word >> word.start >> word.end;
            words.append(word);
        }
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        timings.m_byText[text].append(words);
    }
    timings.m_edgesSorted = false;
    return timings;
}
