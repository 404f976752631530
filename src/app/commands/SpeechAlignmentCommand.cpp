#include "app/commands/SpeechAlignmentCommand.h"

#include "document/Document.h"
#include "media/MediaSession.h"
#include "media/ScriptAlignmentJob.h"
#include "media/ScriptAlignmentResult.h"
#include "model/SubtitleController.h"
#include "model/UndoManager.h"
#include "model/quality/ProblemIndex.h"
#include "model/timing/SpeechSnap.h"

#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>

namespace {
constexpr int messageTimeout = 10000;
constexpr int listed = 20;
} // namespace

SpeechAlignmentCommand::SpeechAlignmentCommand(Document *document, MediaSession *media, QWidget *window,
                                               QStatusBar *statusBar, std::function<void()> snapInstead)
    : m_document(document)
    , m_media(media)
    , m_window(window)
    , m_statusBar(statusBar)
    , m_snapInstead(std::move(snapInstead))
{
}

SpeechAlignmentCommand::~SpeechAlignmentCommand() = default;

bool SpeechAlignmentCommand::languageHasModel()
{
    const QString language = m_document->language();
    if (language.isEmpty() || language.startsWith(QLatin1String("en")))
        return true;
    QMessageBox box(QMessageBox::Information, tr("Align to Speech"),
                    tr("No speech model is installed for the document's language (%1): only English lines can be "
                       "placed by their words.")
                        .arg(QLocale(language).nativeLanguageName()),
                    QMessageBox::Cancel, m_window);
    box.setInformativeText(tr("The subtitles' edges can be snapped to where the speech starts and stops instead."));
    QPushButton *snap = box.addButton(tr("Snap to Speech"), QMessageBox::AcceptRole);
    box.setDefaultButton(snap);
    box.exec();
    if (box.clickedButton() == snap && m_snapInstead)
        m_snapInstead();
    return false;
}

void SpeechAlignmentCommand::align(const IndexSet &positions, bool timed)
{
    if (m_job || !m_document || m_media->path().isEmpty() || m_media->speech().isEmpty())
        return;
    const SubtitleList &list = m_document->subtitleController().subtitles();
    if (positions.isEmpty() || !languageHasModel())
        return;
    m_lines = m_document->subtitleController().subtitlesAt(positions);
    m_timed = timed;
    ScriptAlignmentJob::Request request{m_media->path(), m_media->audioTrack(), m_media->speech(),
                                        ScriptAlignmentResult::linesOf(list, positions),
                                        ScriptAlignmentResult::boundsOf(list, positions), timed};
    m_job = std::make_unique<ScriptAlignmentJob>(std::move(request));
    connect(m_job.get(), &ScriptAlignmentJob::progressed, this, &SpeechAlignmentCommand::showProgress);
    connect(m_job.get(), &ScriptAlignmentJob::finished, this, &SpeechAlignmentCommand::apply);
    connect(m_job.get(), &ScriptAlignmentJob::failed, this, [this](const QString &message) {
        end(message);
        auto *box = new QMessageBox(QMessageBox::Warning, tr("Align to Speech"), message, QMessageBox::Ok, m_window);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    });
    connect(m_job.get(), &ScriptAlignmentJob::stopped, this, [this] { end(tr("Alignment stopped; nothing was changed.")); });

    m_progress = new QProgressBar(m_statusBar);
    m_progress->setRange(0, int(m_lines.size()));
    m_progress->setFormat(tr("Aligning to the speech: %v of %m"));
    m_progress->setAccessibleName(tr("Alignment to the speech"));
    m_progress->setMaximumWidth(320);
    m_stopButton = new QPushButton(tr("Stop"), m_statusBar);
    m_stopButton->setAccessibleDescription(tr("Stops aligning, and leaves the subtitles as they are"));
    connect(m_stopButton, &QPushButton::clicked, this, &SpeechAlignmentCommand::stop);
    m_statusBar->addPermanentWidget(m_progress);
    m_statusBar->addPermanentWidget(m_stopButton);
    m_job->start();
}

void SpeechAlignmentCommand::stop()
{
    if (m_job)
        m_job->stop();
}

void SpeechAlignmentCommand::showProgress(int done)
{
    if (m_progress)
        m_progress->setValue(done);
}

void SpeechAlignmentCommand::end(const QString &message)
{
    // Let go of from the event loop: the job is inside its own signal.
    if (m_job)
        m_job.release()->deleteLater();
    delete m_progress;
    delete m_stopButton;
    m_progress = nullptr;
    m_stopButton = nullptr;
    m_lines.clear();
    if (!message.isEmpty())
        m_statusBar->showMessage(message, messageTimeout);
    m_lastSummary = message;
    emit finished();
}

void SpeechAlignmentCommand::apply(const QList<ScriptAligner::Outcome> &outcomes)
{
    if (!m_document) {
        end(QString());
        return;
    }
    SubtitleController &controller = m_document->subtitleController();
    // The list may have changed meanwhile: the lines are found where they are now, and
    // those deleted are let go.
    IndexSet positions;
    QList<ScriptAligner::Outcome> kept;
    for (qsizetype k = 0; k < m_lines.size() && k < outcomes.size(); ++k) {
        const int position = controller.indexOf(m_lines[k]);
        if (position >= 0) {
            positions.insert(position);
            kept.append(outcomes[k]);
        }
    }
    const SubtitleList &list = controller.subtitles();
    const SpeechSnap::Sources sources{m_media->speech(), m_media->shotChanges(), m_document->problemIndex().limits(),
                                      m_document->frameRate(), SpeechSnapSettings::load(QSettings())};
    const ScriptAlignmentResult result = ScriptAlignmentResult::of(list, positions, kept, sources, m_timed);
    if (!result.plan.positions.isEmpty()) {
        m_document->undoManager().runAsOneStep(tr("Align to Speech"), [&] {
            controller.updateSubtitles(result.plan.values, result.plan.positions);
        });
    }
    m_media->addWordTimings(result.words);
    m_document->problemIndex().setUnaligned(result.leftSubtitles);
    const QString summary = result.summary();
    if (result.left.isEmpty()) {
        end(summary);
        return;
    }
    QStringList lines;
    for (qsizetype k = 0; k < result.left.size() && k < listed; ++k)
        lines << tr("Subtitle %1: %2").arg(controller.indexOf(result.leftSubtitles[k]) + 1).arg(result.left[k].reason);
    if (result.left.size() > listed)
        lines << tr("… and %n more.", nullptr, int(result.left.size() - listed));
    end(summary);
    // Not modal: what was left is worth reading, and the work goes on beside it.
    auto *box = new QMessageBox(QMessageBox::Information, tr("Align to Speech"), summary, QMessageBox::Ok, m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setInformativeText(m_timed ? tr("The subtitles left keep their times; the Problems panel lists them as not found in the speech.")
                                    : tr("The lines left are put between the ones placed; the Problems panel lists them as not found in the speech."));
    box->setDetailedText(lines.join(u'\n'));
    box->open();
}
