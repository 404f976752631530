#include "model/SubtitleController.h"

#include "model/Fatal.h"
#include "model/FrameTiming.h"
#include "model/LinearTimeMap.h"
#include "model/PositionEdits.h"
#include "model/SubtitleControllerDelegate.h"
#include "model/UndoManager.h"
#include "model/timing/WordSplit.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <tuple>
#include <utility>

SubtitlePtr SubtitleController::at(int index) const
{
    if (index < 0 || index >= m_subtitles.size())
        CUEWRIGHT_FATAL("subtitle position outside the list");
    return m_subtitles.at(index);
}

int SubtitleController::indexOf(const SubtitlePtr &subtitle) const
{
    return int(m_subtitles.indexOf(subtitle));
}

int SubtitleController::countStartedBy(const SubtitleList &subtitles, double t)
{
    return int(std::partition_point(subtitles.begin(), subtitles.end(),
                                    [t](const SubtitlePtr &subtitle) { return subtitle->start <= t; })
               - subtitles.begin());
}

std::optional<int> SubtitleController::indexShownAt(const SubtitleList &subtitles, double t)
{
    const int last = countStartedBy(subtitles, t) - 1;
    if (last >= 0 && t < subtitles[last]->end)
        return last;
    return std::nullopt;
}

SubtitleList SubtitleController::subtitlesAt(const IndexSet &indexes) const
{
    SubtitleList result;
    result.reserve(indexes.count());
    for (int index : indexes)
        result.append(at(index));
    return result;
}

void SubtitleController::setSubtitles(SubtitleList subtitles)
{
    m_subtitles = std::move(subtitles);
    if (m_delegate)
        m_delegate->didReloadSubtitles(*this);
}

void SubtitleController::updateSubtitles(const QList<Subtitle::Values> &values, const IndexSet &indexes)
{
    const SubtitleList updated = subtitlesAt(indexes);
    const qsizetype pairs = std::min(updated.size(), values.size());

    QList<Subtitle::Values> oldValues;
    oldValues.reserve(pairs);
    QList<NewStart> newStarts;
    for (qsizetype k = 0; k < pairs; ++k) {
        Subtitle &subtitle = *updated[k];
        const Subtitle::Values &newValues = values[k];
        Subtitle::Values old;
        if (newValues.start) {
            old.start = subtitle.start;
            newStarts.append({int(k), *newValues.start < subtitle.start});
        }
        if (newValues.end) {
            old.end = subtitle.end;
            subtitle.end = *newValues.end;
        }
        if (newValues.text) {
            old.text = subtitle.text();
            subtitle.setText(*newValues.text);
        }
        oldValues.append(std::move(old));
    }

    // A few new starts are put in place one at a time, each move reported as the views
    // replay it; many are put in place together, as one new order of the whole list.
    constexpr qsizetype fewMoves = 64;
    QList<SubtitleIndexUpdate> indexUpdates;
    std::vector<int> newPositions;
    if (newStarts.size() <= fewMoves) {
        for (const NewStart &newStart : std::as_const(newStarts)) {
            // Each new start is set when its subtitle is put in place, so that the walk
            // meets a list in time order.
            updated[newStart.k]->start = *values[newStart.k].start;
            // Until one has moved, every subtitle still stands at its index: shifting a
            // long list a little finds each at once instead of searching from the top.
            const int p = indexUpdates.isEmpty() ? indexes.at(newStart.k) : indexOf(updated[newStart.k]);
            if (p < 0)
                CUEWRIGHT_FATAL("updated subtitle is no longer in the list");
            const int q = reposition(p, newStart.earlier);
            if (q != p)
                indexUpdates.append({p, q});
        }
    } else {
        for (const NewStart &newStart : std::as_const(newStarts))
            updated[newStart.k]->start = *values[newStart.k].start;
        newPositions = reorder(indexes, newStarts);
    }

    QList<Subtitle::Values> undoValues;
    IndexSet newIndexes;
    std::vector<int> oldPositions; // where each subtitle at newIndexes stood
    if (indexUpdates.isEmpty() && newPositions.empty()) {
        undoValues = std::move(oldValues);
        newIndexes = indexes;
        oldPositions.assign(indexes.begin(), indexes.end());
    } else {
        // The inverse pairs values with positions in ascending order: order each
        // subtitle's old values by where that very subtitle now lies. Ordering by start
        // would hand subtitles that now share a start each other's values.
        std::vector<int> landed(size_t(updated.size()));
        if (!newPositions.empty()) {
            for (qsizetype k = 0; k < updated.size(); ++k)
                landed[size_t(k)] = newPositions[size_t(indexes.at(int(k)))];
        } else {
            // Follow each subtitle through the few moves, as the views replay them.
            for (qsizetype k = 0; k < updated.size(); ++k)
                landed[size_t(k)] = indexes.at(int(k));
            for (const SubtitleIndexUpdate &update : std::as_const(indexUpdates)) {
                for (int &position : landed) {
                    if (position == update.oldIndex)
                        position = update.newIndex;
                    else if (update.oldIndex < position && position <= update.newIndex)
                        --position;
                    else if (update.newIndex <= position && position < update.oldIndex)
                        ++position;
                }
            }
        }
        // Positions are distinct and inside the list: laying them out finds their order
        // in one pass.
        std::vector<int> pairAt(size_t(count()), -1);
        for (qsizetype k = 0; k < updated.size(); ++k)
            pairAt[size_t(landed[size_t(k)])] = int(k);
        undoValues.reserve(updated.size());
        oldPositions.reserve(size_t(updated.size()));
        for (int position = 0; position < count(); ++position) {
            const int k = pairAt[size_t(position)];
            if (k < 0)
                continue;
            undoValues.append(k < pairs ? oldValues[k] : Subtitle::Values());
            newIndexes.insert(position);
            oldPositions.push_back(indexes.at(k));
        }
    }

    if (m_delegate) {
        if (newPositions.empty())
            m_delegate->didUpdateSubtitles(*this, indexes, indexUpdates, newIndexes);
        else
            m_delegate->didReorderSubtitles(*this, indexes, newPositions, newIndexes);
    }
    if (m_undoManager) {
        m_undoManager->registerUndo([this, undoValues, newIndexes, oldPositions] {
            restoreSubtitles(undoValues, newIndexes, oldPositions);
        });
    }
}

// The inverse of an update: the old values go back, and each subtitle to the very position
// it left. The tie rules of an update would put a subtitle before or after all others of
// its start, so a later inverse that names positions could meet another subtitle there.
void SubtitleController::restoreSubtitles(const QList<Subtitle::Values> &values, const IndexSet &indexes,
                                          const std::vector<int> &positions)
{
    const SubtitleList restored = subtitlesAt(indexes);
    if (positions.size() != size_t(restored.size()))
        CUEWRIGHT_FATAL("restored subtitles without their positions");
    QList<Subtitle::Values> oldValues;
    oldValues.reserve(restored.size());
    for (qsizetype k = 0; k < restored.size(); ++k) {
        Subtitle &subtitle = *restored[k];
        const Subtitle::Values newValues = k < values.size() ? values[k] : Subtitle::Values();
        Subtitle::Values old;
        if (newValues.start)
            old.start = std::exchange(subtitle.start, *newValues.start);
        if (newValues.end)
            old.end = std::exchange(subtitle.end, *newValues.end);
        if (newValues.text) {
            old.text = subtitle.text();
            subtitle.setText(*newValues.text);
        }
        oldValues.append(std::move(old));
    }

    const int size = count();
    std::vector<int> order(size_t(restored.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&positions](int a, int b) { return positions[size_t(a)] < positions[size_t(b)]; });
    IndexSet newIndexes;
    for (int k : order) {
        if (positions[size_t(k)] < 0 || positions[size_t(k)] >= size)
            CUEWRIGHT_FATAL("restored position outside the list");
        newIndexes.insert(positions[size_t(k)]);
    }

    const bool moved = !std::equal(positions.cbegin(), positions.cend(), indexes.begin());
    if (!moved) {
        if (m_delegate)
            m_delegate->didUpdateSubtitles(*this, indexes, {}, indexes);
    } else if (restored.size() == 1) {
        const int p = indexes.first();
        const int q = positions.front();
        const auto begin = m_subtitles.begin();
        if (q < p)
            std::rotate(begin + q, begin + p, begin + p + 1);
        else
            std::rotate(begin + p, begin + p + 1, begin + q + 1);
        if (m_delegate)
            m_delegate->didUpdateSubtitles(*this, indexes, {{p, q}}, newIndexes);
    } else {
        // The others keep their order in the places the restored ones leave free.
        std::vector<int> newPositions(size_t(size), -1);
        std::vector<char> taken(size_t(size), 0);
        for (qsizetype k = 0; k < restored.size(); ++k) {
            newPositions[size_t(indexes.at(int(k)))] = positions[size_t(k)];
            taken[size_t(positions[size_t(k)])] = 1;
        }
        int next = 0;
        for (int p = 0; p < size; ++p) {
            if (newPositions[size_t(p)] >= 0)
                continue;
            while (taken[size_t(next)])
                ++next;
            newPositions[size_t(p)] = next++;
        }
        SubtitleList reordered(size);
        for (int p = 0; p < size; ++p)
            reordered[newPositions[size_t(p)]] = m_subtitles[p];
        m_subtitles = std::move(reordered);
        if (m_delegate)
            m_delegate->didReorderSubtitles(*this, indexes, newPositions, newIndexes);
    }

    if (m_undoManager) {
        QList<Subtitle::Values> undoValues;
        std::vector<int> undoPositions;
        undoValues.reserve(restored.size());
        undoPositions.reserve(size_t(restored.size()));
        for (int k : order) {
            undoValues.append(oldValues[k]);
            undoPositions.push_back(indexes.at(k));
        }
        m_undoManager->registerUndo([this, undoValues, newIndexes, undoPositions] {
            restoreSubtitles(undoValues, newIndexes, undoPositions);
        });
    }
}

// Where one subtitle at a time would put each new start: one that moved earlier lands
// before the subtitles it then shares its start with, any other after them, and of those
// put in the same place the later one nearer the others. That is one ordering of the whole
// list, found by sorting the new starts and merging them with the subtitles that kept
// theirs. Returns where each position's subtitle went, or nothing when none moved.
std::vector<int> SubtitleController::reorder(const IndexSet &indexes, const QList<NewStart> &newStarts)
{
    struct Key
    {
        double start;
        int side; // 0 before the subtitles that kept this start, 2 after them
        int tie;
        int position;
        bool operator<(const Key &other) const
        {
            return std::tie(start, side, tie) < std::tie(other.start, other.side, other.tie);
        }
    };
    const SubtitleList &list = m_subtitles; // read without making a copy of a shared list
    const int size = count();
    std::vector<Key> moving;
    moving.reserve(size_t(newStarts.size()));
    std::vector<char> isMoving(size_t(size), 0);
    for (const NewStart &newStart : newStarts) {
        const int position = indexes.at(newStart.k);
        isMoving[size_t(position)] = 1;
        moving.push_back({list[position]->start, newStart.earlier ? 0 : 2,
                          newStart.earlier ? -position : position, position});
    }
    if (!std::is_sorted(moving.begin(), moving.end()))
        std::sort(moving.begin(), moving.end());

    std::vector<int> newPositions(static_cast<size_t>(size));
    std::vector<int> oldPositions; // the new order, as old positions
    oldPositions.reserve(size_t(size));
    auto next = moving.cbegin();
    for (int position = 0; position < size; ++position) {
        if (isMoving[size_t(position)])
            continue;
        const Key staying{list[position]->start, 1, position, position};
        for (; next != moving.cend() && *next < staying; ++next)
            oldPositions.push_back(next->position);
        oldPositions.push_back(position);
    }
    for (; next != moving.cend(); ++next)
        oldPositions.push_back(next->position);

    bool moved = false;
    for (int q = 0; q < size; ++q) {
        newPositions[size_t(oldPositions[size_t(q)])] = q;
        moved = moved || oldPositions[size_t(q)] != q;
    }
    if (!moved)
        return {};
    SubtitleList reordered;
    reordered.reserve(size);
    for (int position : oldPositions)
        reordered.append(list[position]);
    m_subtitles = std::move(reordered);
    return newPositions;
}

// Takes the subtitle at `position` out and puts it back where its new start belongs:
// before equal starts when it moved earlier, after them otherwise.
int SubtitleController::reposition(int position, bool earlier)
{
    // Where it goes once taken out, found in place: the subtitles before it keep their
    // positions, those after it are one further on than in the shortened list. Then only
    // the subtitles it passes move, instead of the whole rest of the list twice.
    const double start = m_subtitles[position]->start;
    const auto begin = m_subtitles.begin();
    if (earlier) {
        int j = position - 1;
        while (j >= 0 && m_subtitles[j]->start >= start)
            --j;
        const int q = j + 1;
        std::rotate(begin + q, begin + position, begin + position + 1);
        return q;
    }
    int j = position + 1;
    while (j < m_subtitles.size() && m_subtitles[j]->start <= start)
        ++j;
    const int q = j - 1;
    std::rotate(begin + position, begin + position + 1, begin + q + 1);
    return q;
}

void SubtitleController::insertSubtitles(const SubtitleList &subtitles, const IndexSet &indexes)
{
    const qsizetype pairs = std::min<qsizetype>(subtitles.size(), indexes.count());
    IndexSet paired = indexes;
    while (paired.count() > pairs)
        paired.remove(paired.last());
    insertAtPositions(m_subtitles, paired, [&subtitles](qsizetype k) { return subtitles[k]; });
    if (m_delegate)
        m_delegate->didInsertSubtitles(*this, indexes);
    if (m_undoManager)
        m_undoManager->registerUndo([this, subtitles, indexes] { removeSubtitles(subtitles, indexes); });
}

void SubtitleController::removeSubtitles(const SubtitleList &subtitles, const IndexSet &indexes)
{
    removeAtPositions(m_subtitles, indexes);
    if (m_delegate)
        m_delegate->didRemoveSubtitles(*this, subtitles, indexes);
    if (m_undoManager)
        m_undoManager->registerUndo([this, subtitles, indexes] { insertSubtitles(subtitles, indexes); });
}

double SubtitleController::twoFrameGap() const
{
    return 2 * FrameTiming::frameLength(m_frameRate, m_profileFrameRate);
}

double SubtitleController::snapToFrame(double t) const
{
    return FrameTiming::snapToFrame(t, m_frameRate);
}

void SubtitleController::setStart(int index, double start)
{
    const Subtitle &subtitle = *at(index);
    Subtitle::Values values;
    values.start = start;
    if (subtitle.end < start)
        values.end = subtitle.end + (start - subtitle.start);
    updateSubtitles({values}, IndexSet(index));
}

void SubtitleController::setEnd(int index, double end)
{
    const Subtitle &subtitle = *at(index);
    Subtitle::Values values;
    values.end = end;
    if (subtitle.start > end)
        values.start = std::max(0.0, subtitle.start - (subtitle.end - end));
    updateSubtitles({values}, IndexSet(index));
}

void SubtitleController::setText(const QString &text, int index)
{
    Subtitle::Values values;
    values.text = text;
    updateSubtitles({values}, IndexSet(index));
}

IndexSet SubtitleController::insertionIndexes(SubtitleList &newSubtitles) const
{
    sortSubtitles(newSubtitles);
    IndexSet indexes;
    int j = 0;
    for (int i = 0; i < newSubtitles.size(); ++i) {
        while (j < m_subtitles.size() && m_subtitles[j]->start < newSubtitles[i]->start)
            ++j;
        indexes.insert(j + i);
    }
    return indexes;
}

void SubtitleController::insertInTimeOrder(SubtitleList newSubtitles)
{
    const IndexSet indexes = insertionIndexes(newSubtitles);
    insertSubtitles(newSubtitles, indexes);
}

std::optional<int> SubtitleController::addSubtitle(std::optional<double> time, std::optional<int> index)
{
    std::optional<int> anchor;
    if (time) {
        for (int i = count() - 1; i >= 0; --i) {
            if (m_subtitles[i]->start <= *time) {
                anchor = i;
                break;
            }
        }
    }
    if (!anchor && index)
        anchor = *index;

    const double gap = twoFrameGap();
    double start = 0;
    double end = defaultSubtitleDuration;
    double limit = std::numeric_limits<double>::infinity();
    if (anchor) {
        start = at(*anchor)->end + gap;
        end = start + defaultSubtitleDuration;
        if (*anchor + 1 < count())
            limit = m_subtitles[*anchor + 1]->start - gap;
    }
    const double shortened = std::min(end, limit);
    if (start <= shortened)
        end = shortened;

    SubtitleList newSubtitles{Subtitle::create(QString(), snapToFrame(start), snapToFrame(end))};
    const IndexSet indexes = insertionIndexes(newSubtitles);
    insertSubtitles(newSubtitles, indexes);
    return indexes.first();
}

void SubtitleController::duplicateSubtitle(int index)
{
    const Subtitle &original = *at(index);
    const double gap = twoFrameGap();
    const double shift = (original.end - original.start) + gap;
    const double limit = index + 1 < count() ? m_subtitles[index + 1]->start - gap
                                             : std::numeric_limits<double>::infinity();
    const double start = snapToFrame(original.start + shift);
    double end = snapToFrame(std::min(original.end + shift, limit));
    // A next subtitle that begins right after the original leaves no room before it:
    // the copy then keeps the original's length rather than end before it starts.
    if (end < start)
        end = snapToFrame(original.end + shift);
    insertInTimeOrder({Subtitle::create(original.text(), start, end)});
}

static QString trimmedOfSpacesAndTabs(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && (text[first] == u' ' || text[first] == u'\t'))
        ++first;
    while (last > first && (text[last - 1] == u' ' || text[last - 1] == u'\t'))
        --last;
    return text.sliced(first, last - first).toString();
}

static int userPerceivedCharacterCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

void SubtitleController::splitSubtitle(int index, int offset, const QList<SpokenWord> &words)
{
    const SubtitlePtr original = at(index);
    const QString wholeText = original->text();
    const QStringView whole(wholeText);
    const qsizetype cut = std::clamp<qsizetype>(offset, 0, whole.size());
    const QString firstText = trimmedOfSpacesAndTabs(whole.first(cut));
    const QString secondText = trimmedOfSpacesAndTabs(whole.sliced(cut));

    const double gap = twoFrameGap();
    if (const auto atWord = WordSplit::at(wholeText, int(cut), words, original->start, original->end, gap, m_frameRate)) {
        replaceSubtitles({original}, IndexSet(index),
                         {Subtitle::create(firstText, original->start, atWord->firstEnd),
                          Subtitle::create(secondText, atWord->secondStart, original->end)});
        return;
    }
    double duration = original->end - original->start;
    if (duration > gap)
        duration -= gap;

    int firstCount = userPerceivedCharacterCount(firstText);
    int secondCount = userPerceivedCharacterCount(secondText);
    if (firstCount + secondCount == 0)
        firstCount = secondCount = 1; // two empty halves share the time equally
    const double perCharacter = duration / (firstCount + secondCount);

    const double firstEnd = snapToFrame(original->start + perCharacter * firstCount);
    const double secondStart = snapToFrame(original->end - perCharacter * secondCount);
    SubtitleList halves{Subtitle::create(firstText, original->start, firstEnd),
                        Subtitle::create(secondText, secondStart, original->end)};

    replaceSubtitles({original}, IndexSet(index), halves);
}

// One undo step takes the old subtitles out and puts the new ones where they belong.
void SubtitleController::replaceSubtitles(const SubtitleList &old, const IndexSet &indexes, const SubtitleList &replacements)
{
    if (m_undoManager)
        m_undoManager->beginUndoGrouping();
    removeSubtitles(old, indexes);
    insertInTimeOrder(replacements);
    if (m_undoManager)
        m_undoManager->endUndoGrouping();
}

SubtitleList SubtitleController::importText(const QString &text)
{
    const double step = defaultSubtitleDuration + twoFrameGap();
    SubtitleList newSubtitles;
    const QStringList pieces = text.split(QStringLiteral("\n\n"));
    newSubtitles.reserve(pieces.size());
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const double start = 1.0 + double(i) * step;
        newSubtitles.append(Subtitle::create(pieces[i], start, start + defaultSubtitleDuration));
    }
    insertInTimeOrder(newSubtitles);
    return newSubtitles;
}

void SubtitleController::retimeSubtitles(const IndexSet &indexes, const LinearTimeMap &map)
{
    updateSubtitles(map.valuesFor(subtitlesAt(indexes)), indexes);
}

void SubtitleController::mergeSubtitles(const IndexSet &indexes)
{
    if (indexes.count() < 2)
        return;
    const SubtitleList parts = subtitlesAt(indexes);
    QStringList texts;
    double end = parts.first()->end;
    for (const SubtitlePtr &part : parts) {
        if (!part->text().isEmpty())
            texts << part->text();
        end = std::max(end, part->end);
    }
    const auto merged = Subtitle::create(texts.join(u'\n'), parts.first()->start, end);
    replaceSubtitles(parts, indexes, {merged});
}

int SubtitleController::endAndStartNext(int index, double time, std::optional<int> next)
{
    const SubtitlePtr current = at(index);
    const SubtitlePtr following = next ? at(*next) : nullptr;
    setEnd(index, time);
    if (following) {
        setStart(indexOf(following), snapToFrame(time + twoFrameGap()));
        return indexOf(following);
    }
    const int position = indexOf(current);
    return addSubtitle(time, position).value_or(position);
}
