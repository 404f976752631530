#pragma once

#include "model/quality/QualityCheck.h"
#include "model/quality/QualityLimits.h"
#include "model/quality/OriginalPairing.h"
#include "model/ShotChanges.h"
#include "model/Subtitle.h"

#include <QCoreApplication>
#include <QString>

#include <memory>
#include <vector>

// Every problem of a subtitle list as a row of a report, checked by the same rules as the
// window: each subtitle with the one after it, and its edges against the shot changes when
// there are any. A row holds numbers only; its sentence is made when it is shown, so a
// million rows cost a million small records and nothing more.
class QualityReport
{
    Q_DECLARE_TR_FUNCTIONS(QualityReport)

public:
    struct Row
    {
        int number = 0; // 1-based, as the list shows it
        double start = 0;
        double end = 0;
        QualityCheck::Problem kind = QualityCheck::Overlap;
        // What was found and what the limit allows, in unit(kind); NaN when the kind has
        // no number, infinity for a reading speed without time.
        double value = 0;
        double limit = 0;
        // What a reading speed is counted in (the limits'), for unit().
        QualityLimits::ReadingUnit readingUnit = QualityLimits::ReadingUnit::CharactersPerSecond;
    };

    // `videoRate` 0: frames at the limits' own rate. With an original, a translation's
    // lines are checked against it too.
    QualityReport(const QualityLimits &limits, double videoRate, ShotChanges shotChanges = {},
                  std::shared_ptr<const OriginalPairing> original = {});

    const QualityLimits &limits() const { return m_limits; }
    double videoRate() const { return m_videoRate; }
    const ShotChanges &shotChanges() const { return m_shotChanges; }
    double countingRate() const { return m_limits.countingRate(m_videoRate); }

    // The rows in list order, problems of one subtitle in listing order.
    std::vector<Row> check(const SubtitleList &subtitles) const;
    // The rows of the subtitles first…last-1 (the one after `last - 1` is still looked
    // at), so that parts of a long list can be checked at once.
    void check(const SubtitleList &subtitles, qsizetype first, qsizetype last, std::vector<Row> &rows) const;

    // The sentence the Problems panel shows for the row, from the list it was made from.
    QString describe(const Row &row, const SubtitleList &subtitles) const;

    // "too-fast", "gap-too-small", "start-near-shot-change": never translated.
    static QString id(QualityCheck::Problem kind);
    // "s", "cps", "wpm", "characters", "lines", "frames".
    static QString unit(const Row &row);
    // The number as the text report writes it: "23.4", "172", "20", "0.833", "∞";
    // `moreDecimals` past the usual, for a value that would read as its limit.
    static QString number(double value, const Row &row, int moreDecimals = 0);

private:
    void addRows(const Subtitle &subtitle, const Subtitle *next, int number, QualityCheck::Problems problems,
                 std::vector<Row> &rows) const;

    QualityLimits m_limits;
    double m_videoRate;
    double m_minGap;
    ShotChanges m_shotChanges;
    std::shared_ptr<const OriginalPairing> m_original;
};
