#pragma once

#include "model/IndexSet.h"
#include "model/Subtitle.h"
#include "speech/ScriptAligner.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class Document;
class MediaSession;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QWidget;
class ScriptAlignmentJob;

// Edit ▸ Align to Speech, and the import window's timing by the film's speech: lines placed
// where their words are spoken, worked out on a worker with its progress and Stop in the
// status bar while the window stays in use. What it finds is one undo step; the lines it
// left are listed and marked as a problem of their own. Stop changes nothing, nor does an
// alignment whose lines the user deleted meanwhile, for those lines.
class SpeechAlignmentCommand : public QObject
{
    Q_OBJECT

public:
    // `snapInstead` snaps the chosen subtitles' edges to the speech, offered for a language
    // the speech model is not for.
    SpeechAlignmentCommand(Document *document, MediaSession *media, QWidget *window, QStatusBar *statusBar,
                           std::function<void()> snapInstead);
    ~SpeechAlignmentCommand() override;

    // The subtitles at `positions`, around their times when those fit the speech. `timed`
    // false: the times are placeholders (an imported script).
    void align(const IndexSet &positions, bool timed = true);
    void stop();
    bool isRunning() const { return m_job != nullptr; }
    // The summary of the last alignment that ended, for whoever drives the window.
    QString lastSummary() const { return m_lastSummary; }

signals:
    void finished();

private:
    void apply(const QList<ScriptAligner::Outcome> &outcomes);
    void end(const QString &message);
    void showProgress(int done);
    bool languageHasModel();

    QPointer<Document> m_document;
    MediaSession *m_media;
    QWidget *m_window;
    QStatusBar *m_statusBar;
    std::function<void()> m_snapInstead;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_stopButton = nullptr;
    SubtitleList m_lines; // being aligned, in order
    bool m_timed = true;
    QString m_lastSummary;
    std::unique_ptr<ScriptAlignmentJob> m_job;
};
