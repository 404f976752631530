#pragma once

#include "model/IndexSet.h"
#include "model/quality/OriginalPairing.h"
#include "model/quality/QualityCheck.h"
#include "model/quality/QualityLimits.h"
#include "model/quality/ShotChangeRules.h"
#include "model/ShotChanges.h"
#include "model/Subtitle.h"
#include "model/SubtitleIndexUpdate.h"

#include <QObject>
#include <QSet>

#include <memory>
#include <optional>
#include <vector>

class SubtitleController;

// The problems of every subtitle of one list, kept up to date from the list's change
// reports. A subtitle's problems depend on itself and the subtitle after it only, so each
// change rechecks the changed subtitles and their predecessors: the cost follows what
// changed, not the length of the list (beyond moving the per-subtitle entries along, as
// the list itself does).
//
// Feed it every change of the list, in order, right after the list changed (the slots
// match the document's change signals); after changes it did not hear of, reload() it.
class ProblemIndex : public QObject
{
    Q_OBJECT

public:
    explicit ProblemIndex(const SubtitleController &controller, QObject *parent = nullptr);

    const QualityLimits &limits() const { return m_limits; }
    void setLimits(const QualityLimits &limits);
    // The frame rate the minimum gap is counted in (0 while no video gives one).
    double frameRate() const { return m_frameRate; }
    void setFrameRate(double frameRate);
    double minGap() const { return m_limits.minGap(m_frameRate); }
    // The video's shot changes, which subtitle edges keep their distance from.
    const ShotChanges &shotChanges() const { return m_shotChanges; }
    void setShotChanges(const ShotChanges &shotChanges);
    ShotChangeRules shotChangeRules() const { return {m_shotChanges, m_frameRate, m_limits}; }
    // The original of a translation, which the untranslated and timing checks compare
    // with; nullptr (or an empty one): those checks are off.
    void setOriginal(std::shared_ptr<const OriginalPairing> original);
    const std::shared_ptr<const OriginalPairing> &original() const { return m_original; }
    // The subtitles the last alignment to the speech left where they were; each is marked
    // NotAligned while it is in the list. Replaces the ones before.
    void setUnaligned(const SubtitleList &subtitles);

    // The problems of one subtitle, given the one after it: the checks of its own, its
    // edges against the shot changes' rules and its text and times against the original,
    // each when given.
    static QualityCheck::Problems problemsOf(const Subtitle &subtitle, const Subtitle *next, const QualityLimits &limits,
                                             double minGap, const ShotChangeRules *rules, const OriginalPairing *original);

    // The problems of the subtitle at `position`; none outside the list. Constant time.
    QualityCheck::Problems problems(int position) const;
    // How many subtitles have at least one problem.
    int subtitlesWithProblems() const { return m_subtitlesWithProblems; }
    // The nearest subtitle with a problem after (before) `position`, going round the end
    // of the list; `position` itself comes last. Pass -1 to start before the first.
    std::optional<int> nextProblem(int position) const;
    std::optional<int> previousProblem(int position) const;
    // Describes each problem of the subtitle at `position`, in listing order.
    QString describe(int position, QualityCheck::Problem problem) const;
    // Where a start or an end near a shot change lies and where the rules put it; empty
    // when the edge keeps to them.
    static QString describeShotChange(QualityCheck::Problem edge, const Subtitle &subtitle,
                                      const ShotChangeRules &rules, double countingRate);

public slots:
    void reload();
    void subtitlesInserted(const IndexSet &indexes);
    void subtitlesRemoved(const SubtitleList &subtitles, const IndexSet &indexes);
    void subtitlesUpdated(const IndexSet &indexes, const QList<SubtitleIndexUpdate> &indexUpdates,
                          const IndexSet &newIndexes);
    void subtitlesReordered(const IndexSet &indexes, const std::vector<int> &newPositions,
                            const IndexSet &newIndexes);

signals:
    // The problems of the subtitles at positions first…last (in the list as it is now)
    // may have changed. Positions that only moved with an insertion or removal are not
    // reported: the list's own change reports say so.
    void problemsChanged(int first, int last);
    // The limits or the minimum gap changed (every subtitle was checked again).
    void limitsChanged();

private:
    class ChangedRange;
    void recheck(int position, ChangedRange &changed);
    void recheckAll();
    // Checks everything again when the entries do not match the list before the change.
    bool catchUp(qsizetype countBefore);
    void setEntry(int position, quint16 problems);

    const SubtitleController &m_controller;
    QualityLimits m_limits;
    double m_frameRate = 0;
    ShotChanges m_shotChanges;
    std::shared_ptr<const OriginalPairing> m_original;
    SubtitleList m_unaligned; // held, so that no other subtitle takes an address of theirs
    QSet<const Subtitle *> m_unalignedSet;
    std::vector<quint16> m_problems; // one entry per list position
    int m_subtitlesWithProblems = 0;
};
