#include "model/quality/QualityReport.h"

#include "model/quality/ProblemIndex.h"
#include "model/quality/ShotChangeRules.h"

#include <QMetaEnum>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

QualityReport::QualityReport(const QualityLimits &limits, double videoRate, ShotChanges shotChanges,
                             std::shared_ptr<const OriginalPairing> original)
    : m_limits(limits.clamped())
    , m_videoRate(videoRate)
    , m_minGap(m_limits.minGap(videoRate))
    , m_shotChanges(std::move(shotChanges))
    , m_original(std::move(original))
{
}

std::vector<QualityReport::Row> QualityReport::check(const SubtitleList &subtitles) const
{
    std::vector<Row> rows;
    check(subtitles, 0, subtitles.size(), rows);
    return rows;
}

void QualityReport::check(const SubtitleList &subtitles, qsizetype first, qsizetype last, std::vector<Row> &rows) const
{
    const std::optional<ShotChangeRules> rules =
        m_shotChanges.isEmpty() ? std::nullopt : std::optional<ShotChangeRules>(std::in_place, m_shotChanges, m_videoRate, m_limits);
    for (qsizetype position = first; position < last; ++position) {
        const Subtitle &subtitle = *subtitles[position];
        const Subtitle *next = position + 1 < subtitles.size() ? subtitles[position + 1].get() : nullptr;
        const QualityCheck::Problems problems =
            ProblemIndex::problemsOf(subtitle, next, m_limits, m_minGap, rules ? &*rules : nullptr, m_original.get());
        if (problems)
            addRows(subtitle, next, int(position + 1), problems, rows);
    }
}

void QualityReport::addRows(const Subtitle &subtitle, const Subtitle *next, int number, QualityCheck::Problems problems,
                            std::vector<Row> &rows) const
{
    const bool measuresText = problems.testAnyFlags(QualityCheck::TooFast | QualityCheck::LineTooLong | QualityCheck::TooManyLines);
    const QualityCheck::TextMeasure text = measuresText ? QualityCheck::measure(subtitle.text(), m_limits) : QualityCheck::TextMeasure{};
    const double length = QualityCheck::duration(subtitle);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const QualityCheck::Problem kind : QualityCheck::allProblems) {
        if (!problems.testFlag(kind))
            continue;
        Row row{number, subtitle.start, subtitle.end, kind, nan, nan, m_limits.readingUnit};
        switch (kind) {
        case QualityCheck::Overlap:
            row.value = next ? subtitle.end - next->start : 0;
            row.limit = 0;
            break;
        case QualityCheck::GapTooSmall:
            row.value = next ? next->start - subtitle.end : 0;
            row.limit = m_minGap;
            break;
        case QualityCheck::TooShort:
            row.value = length;
            row.limit = m_limits.minDuration;
            break;
        case QualityCheck::TooLong:
            row.value = length;
            row.limit = m_limits.maxDuration;
            break;
        case QualityCheck::TooFast:
            row.value = m_limits.inReadingUnit(QualityCheck::readingSpeed(text.counted, length));
            row.limit = m_limits.maxReadingSpeed;
            break;
        case QualityCheck::LineTooLong:
            row.value = text.longestLine;
            row.limit = m_limits.maxLineLength;
            break;
        case QualityCheck::TooManyLines:
            row.value = text.lines;
            row.limit = m_limits.maxLines;
            break;
        case QualityCheck::StartNearShotChange:
        case QualityCheck::EndNearShotChange: {
            const ShotChangeRules rules(m_shotChanges, m_videoRate, m_limits);
            const auto move = kind == QualityCheck::StartNearShotChange ? rules.start(subtitle.start) : rules.end(subtitle.end);
            row.value = move ? move->frames : 0;
            row.limit = m_limits.shotChangeZoneFrames;
            break;
        }
        case QualityCheck::Untranslated:
        case QualityCheck::NoMatchingOriginal:
        case QualityCheck::NotAligned:
            break; // a fact, not a measure
        }
        rows.push_back(row);
    }
}

QString QualityReport::describe(const Row &row, const SubtitleList &subtitles) const
{
    const qsizetype position = row.number - 1;
    if (position < 0 || position >= subtitles.size())
        return {};
    const Subtitle &subtitle = *subtitles[position];
    if (QualityCheck::shotChangeProblems & row.kind)
        return ProblemIndex::describeShotChange(row.kind, subtitle, ShotChangeRules(m_shotChanges, m_videoRate, m_limits),
                                                countingRate());
    const Subtitle *next = position + 1 < subtitles.size() ? subtitles[position + 1].get() : nullptr;
    return QualityCheck::describe(row.kind, subtitle, next, m_limits, m_minGap);
}

QString QualityReport::id(QualityCheck::Problem kind)
{
    // From the enumerator's name, so that a new kind has its id without a list to extend;
    // made once, as a report asks for it on every row.
    static const std::array<QString, QualityCheck::allProblems.size()> ids = [] {
        std::array<QString, QualityCheck::allProblems.size()> made;
        const QMetaEnum names = QMetaEnum::fromType<QualityCheck::Problem>();
        for (size_t i = 0; i < made.size(); ++i) {
            for (const char *c = names.valueToKey(QualityCheck::allProblems[i]); c && *c; ++c) {
                if (*c >= 'A' && *c <= 'Z') {
                    if (!made[i].isEmpty())
                        made[i] += u'-';
                    made[i] += QChar(*c - 'A' + 'a');
                } else {
                    made[i] += QLatin1Char(*c);
                }
            }
        }
        return made;
    }();
    const auto found = std::find(QualityCheck::allProblems.begin(), QualityCheck::allProblems.end(), kind);
    return found == QualityCheck::allProblems.end() ? QString() : ids[size_t(found - QualityCheck::allProblems.begin())];
}

QString QualityReport::unit(const Row &row)
{
    switch (row.kind) {
    case QualityCheck::Overlap:
    case QualityCheck::GapTooSmall:
    case QualityCheck::TooShort:
    case QualityCheck::TooLong:
        return QStringLiteral("s");
    case QualityCheck::TooFast:
        return row.readingUnit == QualityLimits::ReadingUnit::WordsPerMinute ? QStringLiteral("wpm") : QStringLiteral("cps");
    case QualityCheck::LineTooLong:
        return QStringLiteral("characters");
    case QualityCheck::TooManyLines:
        return QStringLiteral("lines");
    case QualityCheck::StartNearShotChange:
    case QualityCheck::EndNearShotChange:
        return QStringLiteral("frames");
    case QualityCheck::Untranslated:
    case QualityCheck::NoMatchingOriginal:
    case QualityCheck::NotAligned:
        return {};
    }
    return {};
}

QString QualityReport::number(double value, const Row &row, int moreDecimals)
{
    if (std::isnan(value))
        return {};
    if (std::isinf(value))
        return QStringLiteral("∞");
    const QString unitName = unit(row);
    const int decimals = (unitName == QLatin1String("s") ? 3 : unitName == QLatin1String("cps") ? 1 : 0) + moreDecimals;
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}
