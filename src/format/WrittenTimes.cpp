#include "format/WrittenTimes.h"

#include "format/FormatRepairs.h"

#include <algorithm>

namespace {

constexpr double lastHour = 999999.0 * 3600;

// The time as written: not before 0 (nor not a number), not past `latest`.
double within(double time, double latest)
{
    return !(time > 0) ? 0.0 : std::min(time, latest);
}

bool isLate(const Subtitle &subtitle, double latest)
{
    return subtitle.start > latest || subtitle.end > latest;
}

bool isReversed(const Subtitle &subtitle, double latest)
{
    return within(subtitle.end, latest) < within(subtitle.start, latest);
}

// A cue nobody touched is written back as the file had it, which its reader took.
bool isUntouched(const Subtitle &subtitle, const FormatKeep *keep)
{
    const FormatKeep::Cue *cue = keep ? keep->cue(subtitle) : nullptr;
    return cue && cue->isUnchanged(subtitle);
}

} // namespace

double WrittenTimes::latest(SubtitleFormat::Id format)
{
    switch (format) {
    case SubtitleFormat::Ass:
    case SubtitleFormat::Ssa:
        return lastHour + 3599.99; // hundredths, six digits of hours
    case SubtitleFormat::Ttml:
        return FormatRepairs::latestTime;
    case SubtitleFormat::EbuStl:
        return 86399.96; // 23:59:59 and its last frame at 25 or 30 frames a second
    default:
        return lastHour + 3599.999; // "999999:59:59,999"
    }
}

std::optional<WrittenTimes::Fitted> WrittenTimes::fitted(SubtitleFormat::Id format, const SubtitleList &subtitles,
                                                         const FormatKeep *keep)
{
    // SRT's writer does the same itself, on its own faster way.
    if (format == SubtitleFormat::Srt)
        return std::nullopt;
    const double last = latest(format);
    const auto fits = [last, keep](const SubtitlePtr &subtitle) {
        return (!isLate(*subtitle, last) && !isReversed(*subtitle, last)) || isUntouched(*subtitle, keep);
    };
    if (std::all_of(subtitles.cbegin(), subtitles.cend(), fits))
        return std::nullopt;
    auto ownKeep = keep ? std::make_shared<FormatKeep>(*keep) : nullptr;
    Fitted result{{}, ownKeep};
    result.subtitles.reserve(subtitles.size());
    for (const SubtitlePtr &subtitle : subtitles) {
        if (fits(subtitle)) {
            result.subtitles.append(subtitle);
            continue;
        }
        const double start = within(subtitle->start, last);
        SubtitlePtr copy = Subtitle::create(subtitle->text(), start, std::max(start, within(subtitle->end, last)));
        if (const FormatKeep::Cue *cue = keep ? keep->cue(*subtitle) : nullptr)
            ownKeep->keep(copy, *cue);
        result.subtitles.append(std::move(copy));
    }
    return result;
}

QStringList WrittenTimes::changes(SubtitleFormat::Id format, const SubtitleList &subtitles, const FormatKeep *keep)
{
    const double last = latest(format);
    const auto count = [&](bool (*fault)(const Subtitle &, double)) {
        return std::count_if(subtitles.cbegin(), subtitles.cend(),
                             [&](const SubtitlePtr &s) { return fault(*s, last) && !isUntouched(*s, keep); });
    };
    const auto late = count(isLate);
    const auto reversed = count(isReversed);
    QStringList changes;
    if (late > 0)
        changes.append(tr("the times of %n subtitle(s) past the latest %1 holds, written as that latest time", nullptr, int(late))
                           .arg(SubtitleFormat::shortName(format)));
    if (reversed > 0)
        changes.append(tr("the ends before their starts of %n subtitle(s), written as their starts", nullptr, int(reversed)));
    return changes;
}
