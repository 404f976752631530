#pragma once

#include "media/WorkerThreads.h"
#include "model/Expected.h"
#include "speech/ScriptAligner.h"

#include <QObject>
#include <QPointer>

// Aligns lines of a script to the speech of a film's audio track on a worker of its own,
// with the recogniser opened there (its model takes a moment to load). Tells its progress
// and its end on the thread it lives on; going, it stops the worker and joins it, and
// nothing is told after that.
class ScriptAlignmentJob : public QObject
{
    Q_OBJECT

public:
    struct Request
    {
        QString videoPath;
        int audioTrack = 1;
        SpeechStretches speech;
        QList<ScriptAligner::Line> lines; // with the subtitles' own times, when they have any
        ScriptAligner::Bounds bounds;
        // The lines' times are gone by only where they fit the speech (shifted or stretched
        // as syncing would): worked out on the worker, as it reads the whole speech.
        bool fitTimes = true;
    };

    explicit ScriptAlignmentJob(Request request, QObject *parent = nullptr);
    ~ScriptAlignmentJob() override;
    void start();
    // Stops at the next line; stopped() follows, and no outcome.
    void stop();

    // The same, on the caller's thread (the command line).
    [[nodiscard]] static Expected<QList<ScriptAligner::Outcome>, QString> run(
        const Request &request, std::stop_token stop = {}, const std::function<void(int)> &progress = {});

signals:
    void progressed(int done);
    void finished(const QList<ScriptAligner::Outcome> &outcomes);
    void failed(const QString &message);
    void stopped();

private:
    Request m_request;
    std::stop_source m_stop;
    // Last: stopped and joined before the request it reads goes.
    WorkerThreads m_worker{QStringLiteral("Script alignment")};
};
