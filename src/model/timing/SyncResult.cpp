#include "model/timing/SyncResult.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

QString clockTime(double seconds)
{
    const auto whole = qint64(std::max(0.0, std::round(seconds)));
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600, 2, 10, QLatin1Char('0'))
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

QString fps(double rate)
{
    return QString::number(rate, 'g', 5);
}

} // namespace

const SyncResult::Piece &SyncResult::pieceAt(double time) const
{
    const auto after = std::upper_bound(pieces.begin() + 1, pieces.end(), time,
                                        [](double t, const Piece &piece) { return t < piece.from; });
    return *std::prev(after);
}

double SyncResult::map(double time) const
{
    return pieceAt(time).line.apply(time);
}

SpeechStretch SyncResult::map(const SpeechStretch &subtitle) const
{
    const LinearTimeMap &line = pieceAt(subtitle.start).line;
    return {line.apply(subtitle.start), line.apply(subtitle.end)};
}

QList<Subtitle::Values> SyncResult::valuesFor(const SubtitleList &subtitles) const
{
    QList<Subtitle::Values> values;
    values.reserve(subtitles.size());
    for (const SubtitlePtr &subtitle : subtitles) {
        const SpeechStretch moved = map(SpeechStretch{subtitle->start, subtitle->end});
        Subtitle::Values v;
        v.start = moved.start;
        v.end = moved.end;
        values.append(v);
    }
    return values;
}

std::vector<SyncResult::Break> SyncResult::breaks() const
{
    std::vector<Break> found;
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        const double t = pieces[i].from;
        const LinearTimeMap &before = pieces[i - 1].line;
        const LinearTimeMap &after = pieces[i].line;
        const double newTime = before.scale() * t + before.offset();
        found.push_back({t, newTime, after.scale() * t + after.offset() - newTime});
    }
    return found;
}

QString SyncResult::describe() const
{
    const QString sure = QString::number(std::lround(confidence * 100));
    if (!belongs)
        return tr("These subtitles do not seem to match this film's speech, so nothing was moved "
                  "(sure they match: %1%).")
            .arg(sure);
    QStringList parts;
    const double offset = pieces.front().line.offset();
    parts << tr("Moved by %1 s").arg((offset >= 0 ? QStringLiteral("+") : QString()) + QString::number(offset, 'f', 3));
    if (conversion)
        parts << tr("converted from %1 to %2 fps").arg(fps(conversion->fromFps), fps(conversion->toFps));
    for (const Break &b : breaks()) {
        parts << (b.jump >= 0 ? tr("a break at %1 adds %2 s") : tr("a break at %1 removes %2 s"))
                     .arg(clockTime(b.newTime))
                     .arg(std::abs(b.jump), 0, 'f', 1);
    }
    return tr("%1. Sure: %2%.").arg(parts.join(QStringLiteral("; ")), sure);
}
