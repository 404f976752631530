#include "media/ScriptAlignmentJob.h"

#include "media/ScriptAlignmentResult.h"
#include "media/SpeechSoundReader.h"
#include "speech/PocketsphinxAligner.h"
#include "speech/ScriptAlignmentFromBothEnds.h"

ScriptAlignmentJob::ScriptAlignmentJob(Request request, QObject *parent)
    : QObject(parent)
    , m_request(std::move(request))
{
}

ScriptAlignmentJob::~ScriptAlignmentJob()
{
    m_stop.request_stop();
}

void ScriptAlignmentJob::start()
{
    QPointer<ScriptAlignmentJob> self(this);
    const auto post = [self](auto call) {
        QMetaObject::invokeMethod(self.data(), [self, call = std::move(call)] {
            if (self)
                call(*self);
        }, Qt::QueuedConnection);
    };
    m_worker.start([this, post, stop = m_stop.get_token()](std::stop_token owner) {
        std::stop_source either;
        std::stop_callback byOwner(owner, [&] { either.request_stop(); });
        std::stop_callback byUser(stop, [&] { either.request_stop(); });
        const auto outcome = run(m_request, either.get_token(), [&](int done) {
            post([done](ScriptAlignmentJob &job) { emit job.progressed(done); });
        });
        if (either.stop_requested())
            post([](ScriptAlignmentJob &job) { emit job.stopped(); });
        else if (!outcome)
            post([message = outcome.error()](ScriptAlignmentJob &job) { emit job.failed(message); });
        else
            post([outcomes = outcome.value()](ScriptAlignmentJob &job) { emit job.finished(outcomes); });
    });
}

void ScriptAlignmentJob::stop()
{
    m_stop.request_stop();
}

Expected<QList<ScriptAligner::Outcome>, QString> ScriptAlignmentJob::run(const Request &request, std::stop_token stop,
                                                                          const std::function<void(int)> &progress)
{
    // Two recognisers, one for each end of the script: each is a thread's work.
    auto front = PocketsphinxAligner::create();
    if (!front)
        return front.error();
    auto back = PocketsphinxAligner::create();
    if (!back)
        return back.error();
    const SpeechSoundReader sound(request.videoPath, request.audioTrack);
    const auto read = [&sound](double from, double to) { return sound.read(from, to); };
    ScriptAligner fromStart(*front.value(), read, request.speech);
    ScriptAligner fromEnd(*back.value(), read, request.speech);
    const QList<ScriptAligner::Line> lines =
        request.fitTimes ? ScriptAlignmentResult::fitted(request.lines, request.speech) : ScriptAlignmentResult::untimed(request.lines);
    std::optional<QList<ScriptAligner::Outcome>> outcomes =
        ScriptAlignmentFromBothEnds::align(fromStart, fromEnd, lines, request.bounds, stop, progress);
    if (!outcomes)
        return QString(); // stopped: the caller knows
    return *outcomes;
}
