#include "model/quality/ProblemIndex.h"

#include "model/Fatal.h"
#include "model/PositionEdits.h"
#include "model/SubtitleController.h"

#include <algorithm>
#include <limits>

// The lowest and highest position whose problems changed during one change of the list.
class ProblemIndex::ChangedRange
{
public:
    void add(int position)
    {
        first = std::min(first, position);
        last = std::max(last, position);
    }
    bool isEmpty() const { return first > last; }

    int first = std::numeric_limits<int>::max();
    int last = -1;
};

ProblemIndex::ProblemIndex(const SubtitleController &controller, QObject *parent)
    : QObject(parent)
    , m_controller(controller)
{
    recheckAll();
}

void ProblemIndex::setLimits(const QualityLimits &limits)
{
    const QualityLimits clamped = limits.clamped();
    if (clamped == m_limits)
        return;
    m_limits = clamped;
    recheckAll();
    emit limitsChanged();
}

void ProblemIndex::setFrameRate(double frameRate)
{
    if (frameRate == m_frameRate)
        return;
    const double oldGap = minGap();
    m_frameRate = frameRate;
    // Shot changes are counted in frames too.
    if (minGap() != oldGap || !m_shotChanges.isEmpty()) {
        recheckAll();
        emit limitsChanged();
    }
}

void ProblemIndex::setShotChanges(const ShotChanges &shotChanges)
{
    if (shotChanges == m_shotChanges)
        return;
    m_shotChanges = shotChanges;
    // Only the subtitles whose edges were or are near a shot change can change; a film
    // has a few thousand of those, so the whole list is simply looked at again.
    ChangedRange changed;
    for (int position = 0; position < m_controller.count(); ++position)
        recheck(position, changed);
    if (changed.last >= 0)
        emit problemsChanged(changed.first, changed.last);
}

QualityCheck::Problems ProblemIndex::problemsOf(const Subtitle &subtitle, const Subtitle *next, const QualityLimits &limits,
                                               double minGap, const ShotChangeRules *rules, const OriginalPairing *original)
{
    QualityCheck::Problems problems = QualityCheck::check(subtitle, next, limits, minGap);
    if (rules) {
        if (rules->start(subtitle.start))
            problems |= QualityCheck::StartNearShotChange;
        if (rules->end(subtitle.end))
            problems |= QualityCheck::EndNearShotChange;
    }
    if (original) {
        if (OriginalPairing::isUntranslated(subtitle.text(), original->originalFor(subtitle)))
            problems |= QualityCheck::Untranslated;
        if (!original->hasMatchingTimes(subtitle.start, subtitle.end))
            problems |= QualityCheck::NoMatchingOriginal;
    }
    return problems;
}

void ProblemIndex::setUnaligned(const SubtitleList &subtitles)
{
    if (subtitles.isEmpty() && m_unaligned.isEmpty())
        return;
    m_unaligned = subtitles;
    m_unalignedSet.clear();
    for (const SubtitlePtr &subtitle : subtitles)
        m_unalignedSet.insert(subtitle.get());
    ChangedRange changed;
    for (int position = 0; position < m_controller.count(); ++position)
        recheck(position, changed);
    if (!changed.isEmpty())
        emit problemsChanged(changed.first, changed.last);
}

void ProblemIndex::setOriginal(std::shared_ptr<const OriginalPairing> original)
{
    if (original && original->isEmpty())
        original.reset();
    if (original == m_original)
        return;
    m_original = std::move(original);
    ChangedRange changed;
    for (int position = 0; position < m_controller.count(); ++position)
        recheck(position, changed);
    if (!changed.isEmpty())
        emit problemsChanged(changed.first, changed.last);
}

QualityCheck::Problems ProblemIndex::problems(int position) const
{
    if (position < 0 || size_t(position) >= m_problems.size())
        return {};
    return QualityCheck::Problems::fromInt(m_problems[size_t(position)]);
}

std::optional<int> ProblemIndex::nextProblem(int position) const
{
    const int count = int(m_problems.size());
    if (m_subtitlesWithProblems == 0 || count == 0)
        return std::nullopt;
    const int start = std::clamp(position, -1, count - 1);
    for (int step = 1; step <= count; ++step) {
        const int candidate = (start + step) % count;
        if (m_problems[size_t(candidate)] != 0)
            return candidate;
    }
    return std::nullopt;
}

std::optional<int> ProblemIndex::previousProblem(int position) const
{
    const int count = int(m_problems.size());
    if (m_subtitlesWithProblems == 0 || count == 0)
        return std::nullopt;
    const int start = position < 0 || position > count ? count : position;
    for (int step = 1; step <= count; ++step) {
        const int candidate = ((start - step) % count + count) % count;
        if (m_problems[size_t(candidate)] != 0)
            return candidate;
    }
    return std::nullopt;
}

QString ProblemIndex::describe(int position, QualityCheck::Problem problem) const
{
    if (position < 0 || position >= m_controller.count())
        return {};
    const Subtitle *next = position + 1 < m_controller.count() ? m_controller.at(position + 1).get() : nullptr;
    const Subtitle &subtitle = *m_controller.at(position);
    if (QualityCheck::shotChangeProblems & problem)
        return describeShotChange(problem, subtitle, shotChangeRules(), m_limits.countingRate(m_frameRate));
    return QualityCheck::describe(problem, subtitle, next, m_limits, minGap());
}

QString ProblemIndex::describeShotChange(QualityCheck::Problem edge, const Subtitle &subtitle,
                                         const ShotChangeRules &rules, double countingRate)
{
    const bool start = edge == QualityCheck::StartNearShotChange;
    const std::optional<ShotChangeRules::Move> move = start ? rules.start(subtitle.start) : rules.end(subtitle.end);
    if (!move)
        return {};
    const QString where = move->frames > 0 ? tr("%n frame(s) after the shot change at frame %1", nullptr, move->frames)
                                           : move->frames < 0
                                               ? tr("%n frame(s) before the shot change at frame %1", nullptr, -move->frames)
                                               : tr("on the shot change at frame %1");
    const int target = int(std::lround(move->to * countingRate));
    return (start ? tr("Starts %1; goes to frame %2") : tr("Ends %1; goes to frame %2"))
        .arg(where.arg(move->cutFrame))
        .arg(target);
}

void ProblemIndex::setEntry(int position, quint16 problems)
{
    quint16 &entry = m_problems[size_t(position)];
    m_subtitlesWithProblems += int(problems != 0) - int(entry != 0);
    entry = problems;
}

void ProblemIndex::recheck(int position, ChangedRange &changed)
{
    const SubtitleList &list = m_controller.subtitles();
    if (position < 0 || position >= list.size())
        return;
    if (size_t(list.size()) != m_problems.size())
        CUEWRIGHT_FATAL("the problem index missed a change of the list");
    const Subtitle *next = position + 1 < list.size() ? list[position + 1].get() : nullptr;
    const std::optional<ShotChangeRules> rules =
        m_shotChanges.isEmpty() ? std::nullopt : std::optional<ShotChangeRules>(shotChangeRules());
    QualityCheck::Problems found =
        problemsOf(*list[position], next, m_limits, minGap(), rules ? &*rules : nullptr, m_original.get());
    if (m_unalignedSet.contains(list[position].get()))
        found |= QualityCheck::NotAligned;
    const quint16 problems = found.toInt();
    if (problems != m_problems[size_t(position)]) {
        setEntry(position, problems);
        changed.add(position);
    }
}

void ProblemIndex::recheckAll()
{
    m_problems.assign(size_t(m_controller.count()), 0);
    m_subtitlesWithProblems = 0;
    ChangedRange changed;
    for (int position = 0; position < m_controller.count(); ++position)
        recheck(position, changed);
    if (!m_problems.empty())
        emit problemsChanged(0, int(m_problems.size()) - 1);
}

void ProblemIndex::reload()
{
    recheckAll();
}

bool ProblemIndex::catchUp(qsizetype countBefore)
{
    if (countBefore == qsizetype(m_problems.size()))
        return false;
    // Changes made while nobody passed them on (a file read before its window was made):
    // start afresh rather than guess.
    recheckAll();
    return true;
}

void ProblemIndex::subtitlesInserted(const IndexSet &indexes)
{
    if (catchUp(m_controller.count() - indexes.count()))
        return;
    insertAtPositions(m_problems, indexes, [](qsizetype) { return quint16(0); });
    ChangedRange changed;
    int checked = -1;
    for (int index : indexes) {
        // its predecessor has a new next subtitle
        for (int position = std::max(index - 1, checked + 1); position <= index; ++position)
            recheck(position, changed);
        checked = index;
    }
    if (!changed.isEmpty())
        emit problemsChanged(changed.first, changed.last);
}

void ProblemIndex::subtitlesRemoved(const SubtitleList &, const IndexSet &indexes)
{
    if (catchUp(m_controller.count() + indexes.count()))
        return;
    for (int index : indexes)
        setEntry(index, 0);
    removeAtPositions(m_problems, indexes);
    // The subtitle before each removed one has a new next subtitle. Removed before the
    // k-th removed position are k others, so its predecessor now lies at index − k − 1.
    ChangedRange changed;
    int checked = -1;
    for (int k = 0; k < indexes.count(); ++k) {
        const int predecessor = indexes.at(k) - k - 1;
        if (predecessor != checked)
            recheck(predecessor, changed);
        checked = predecessor;
    }
    if (!changed.isEmpty())
        emit problemsChanged(changed.first, changed.last);
}

void ProblemIndex::subtitlesReordered(const IndexSet &, const std::vector<int> &newPositions, const IndexSet &newIndexes)
{
    if (catchUp(m_controller.count()) || newPositions.size() != m_problems.size())
        return;
    std::vector<quint16> reordered(m_problems.size());
    std::vector<int> oldPositions(m_problems.size());
    for (size_t p = 0; p < m_problems.size(); ++p) {
        reordered[size_t(newPositions[p])] = m_problems[p];
        oldPositions[size_t(newPositions[p])] = int(p);
    }
    m_problems = std::move(reordered);
    // Rechecked: what changed, what comes before it, and every subtitle followed by
    // another one than before.
    std::vector<char> stale(m_problems.size(), 0);
    for (int index : newIndexes) {
        stale[size_t(index)] = 1;
        if (index > 0)
            stale[size_t(index) - 1] = 1;
    }
    for (size_t q = 0; q < stale.size(); ++q) {
        const int formerNext = oldPositions[q] + 1;
        if (q + 1 < stale.size() ? oldPositions[q + 1] != formerNext : formerNext != int(stale.size()))
            stale[q] = 1;
    }
    ChangedRange changed;
    for (size_t q = 0; q < stale.size(); ++q) {
        if (stale[q])
            recheck(int(q), changed);
    }
    if (!changed.isEmpty())
        emit problemsChanged(changed.first, changed.last);
}

void ProblemIndex::subtitlesUpdated(const IndexSet &, const QList<SubtitleIndexUpdate> &indexUpdates,
                                    const IndexSet &newIndexes)
{
    if (catchUp(m_controller.count()))
        return;
    // Replay the moves on the entries, remembering where each moved subtitle's former
    // predecessor ends up: its next subtitle is another one now.
    std::vector<int> formerPredecessors;
    for (const SubtitleIndexUpdate &update : indexUpdates) {
        const int from = update.oldIndex;
        const int to = update.newIndex;
        const quint16 entry = m_problems[size_t(from)];
        m_problems.erase(m_problems.begin() + from);
        m_problems.insert(m_problems.begin() + to, entry);
        for (int &position : formerPredecessors) {
            if (position == from) {
                position = to;
                continue;
            }
            if (position > from)
                --position;
            if (position >= to)
                ++position;
        }
        if (from > 0)
            formerPredecessors.push_back(to <= from - 1 ? from : from - 1);
    }
    ChangedRange changed;
    for (int position : formerPredecessors)
        recheck(position, changed);
    int checked = -1;
    for (int index : newIndexes) {
        for (int position = std::max(index - 1, checked + 1); position <= index; ++position)
            recheck(position, changed);
        checked = index;
    }
    if (!changed.isEmpty())
        emit problemsChanged(changed.first, changed.last);
}
