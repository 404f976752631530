#include "app/commands/SpeechTimingCommand.h"
#include "document/QualitySettings.h"

#include "model/ShotChanges.h"
#include "model/timing/SpeechAlignment.h"
#include "model/timing/SpeechSnap.h"
#include "shots/ShotChangeDetector.h"
#include "decoding/MediaCache.h"
#include "media/MediaSession.h"
#include "media/ScriptAlignmentJob.h"
#include "media/ScriptAlignmentResult.h"
#include "media/SpeechDetection.h"

#include <QFileInfo>

#include <QSettings>
#include <QTextStream>

namespace {

// Scanning a film for its cuts takes minutes: the command goes by those the editor has
// found and kept, and by none otherwise.
ShotChanges cachedShotChanges(const QString &videoPath)
{
    const auto cache = MediaCache::userCache(QStringLiteral("shotchanges"));
    const auto found = cache->find(videoPath, ShotChangeDetector::CacheKey);
    return found ? ShotChanges(std::vector<double>(found->samples.begin(), found->samples.end())) : ShotChanges();
}

// Aligning takes long too: the words the editor has placed in this track, if any.
WordTimings cachedWordTimings(const QString &videoPath, int audioTrack)
{
    const auto cache = MediaCache::userCache(QStringLiteral("words"));
    const auto bytes = cache->findBytes(videoPath, MediaSession::WordTimingsCacheNumber, audioTrack);
    return bytes ? WordTimings::fromBytes(*bytes).value_or(WordTimings()) : WordTimings();
}

double frameRateOf(const QString &videoPath)
{
    MediaSession session;
    session.setAnalyses({.sound = false, .sonogram = false, .shotChanges = false});
    session.start(QFileInfo(videoPath).absoluteFilePath());
    session.waitUntilFinished();
    return session.frameRate();
}

void reportLeftEdges(const SpeechSnap::Report &report, const QString &inputName, QTextStream &err)
{
    for (const SpeechSnap::LeftEdge &edge : report.left) {
        const QString which = edge.edge == SpeechSnap::Edge::Start ? SpeechTimingCommand::tr("start")
                                                                    : SpeechTimingCommand::tr("end");
        err << SpeechTimingCommand::tr("%1:%2: %3 left: %4\n")
                   .arg(inputName)
                   .arg(edge.position + 1)
                   .arg(which, SpeechSnap::reasonText(edge.reason, report.searchWindow));
    }
}

Expected<SubtitleList, QString> align(const SubtitleList &subtitles, const QString &videoPath, int audioTrack,
                                      const SpeechStretches &speech, const SpeechSnap::Sources &sources, bool timed,
                                      const QString &inputName, QTextStream &out, QTextStream &err)
{
    const IndexSet all = IndexSet::fromRange(0, int(subtitles.size()));
    const ScriptAlignmentJob::Request request{QFileInfo(videoPath).absoluteFilePath(), audioTrack, speech,
                                              ScriptAlignmentResult::linesOf(subtitles, all), {}, timed};
    const auto outcomes = ScriptAlignmentJob::run(request);
    if (!outcomes)
        return outcomes.error();
    const ScriptAlignmentResult result = ScriptAlignmentResult::of(subtitles, all, outcomes.value(), sources, timed);
    // Kept with the video's other analyses, so the editor shows the words when it opens it.
    WordTimings known = cachedWordTimings(videoPath, audioTrack);
    for (const auto &[text, words] : result.words)
        known.add(text, words);
    MediaCache::userCache(QStringLiteral("words"))->storeBytes(videoPath, MediaSession::WordTimingsCacheNumber, known.toBytes(), audioTrack);
    out << result.summary() << '\n';
    for (const ScriptAlignmentResult::Left &left : result.left)
        err << SpeechTimingCommand::tr("%1:%2: left: %3\n").arg(inputName).arg(left.position + 1).arg(left.reason);
    if (result.placedCount() == 0)
        return SpeechTimingCommand::tr("%1: no subtitle could be placed where its words are spoken in %2; nothing was written.")
            .arg(inputName, videoPath);
    int k = 0;
    for (int position : result.plan.positions) {
        const Subtitle::Values &values = result.plan.values[k++];
        subtitles[position]->start = values.start.value_or(subtitles[position]->start);
        subtitles[position]->end = values.end.value_or(subtitles[position]->end);
    }
    return subtitles;
}

SubtitleList sorted(SubtitleList subtitles)
{
    sortSubtitles(subtitles);
    return subtitles;
}

} // namespace

Expected<SubtitleList, QString> SpeechTimingCommand::apply(Kind kind, const SubtitleList &subtitles,
                                                           const QString &videoPath, int audioTrack,
                                                           const QString &inputName, QTextStream &out, QTextStream &err)
{
    const auto speech = SpeechDetection::detect(videoPath, audioTrack);
    if (!speech)
        return QStringLiteral("%1: %2").arg(videoPath, speech.error());
    if (kind == Kind::Sync) {
        const SyncResult result = SpeechAlignment::align(subtitles, speech.value());
        if (!result.belongs)
            return tr("%1: the subtitles do not match the speech in %2; nothing was written.").arg(inputName, videoPath);
        out << result.describe() << '\n';
        const QList<Subtitle::Values> values = result.valuesFor(subtitles);
        for (qsizetype i = 0; i < subtitles.size(); ++i) {
            subtitles[i]->start = *values[i].start;
            subtitles[i]->end = *values[i].end;
        }
        return sorted(subtitles);
    }
    const ShotChanges shotChanges = cachedShotChanges(videoPath);
    const WordTimings words = cachedWordTimings(videoPath, audioTrack);
    const SpeechSnap::Sources sources{speech.value(), shotChanges, QualitySettings::shared()->defaultProfile().limitsFor({}),
                                      frameRateOf(videoPath), SpeechSnapSettings::load(QSettings()), &words};
    if (kind == Kind::Align || kind == Kind::AlignScript) {
        auto aligned = align(subtitles, videoPath, audioTrack, speech.value(), sources, kind == Kind::Align, inputName, out, err);
        if (!aligned)
            return aligned.error();
        return sorted(std::move(aligned).value());
    }
    const SpeechSnap::Snapped snapped = SpeechSnap::snapAll(subtitles, sources);
    out << snapped.report.summary() << '\n';
    reportLeftEdges(snapped.report, inputName, err);
    for (qsizetype i = 0; i < subtitles.size(); ++i) {
        subtitles[i]->start = snapped.subtitles[i]->start;
        subtitles[i]->end = snapped.subtitles[i]->end;
    }
    return sorted(subtitles);
}
