#include "app/commands/SpeechTimingCommands.h"

#include "document/Document.h"
#include "list/SubtitlesTableViewController.h"
#include "media/MediaSession.h"
#include "model/timing/SpeechAlignment.h"
#include "model/timing/SpeechSnap.h"
#include "model/timing/SpeechSpotting.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>

#include <algorithm>

namespace {

constexpr int messageTimeout = 10000;

SpeechSnap::Sources sourcesOf(Document *document, const MediaSession *media)
{
    return {media->speech(), media->shotChanges(), document->problemIndex().limits(), document->frameRate(),
            SpeechSnapSettings::load(QSettings()), &media->wordTimings()};
}

} // namespace

SpeechTimingCommands::SpeechTimingCommands(Document *document, const MediaSession *media,
                                           SubtitlesTableViewController *table, QWidget *window, QStatusBar *statusBar)
    : m_document(document)
    , m_media(media)
    , m_table(table)
    , m_window(window)
    , m_statusBar(statusBar)
{
}

bool SpeechTimingCommands::hasSpeech() const
{
    return !m_media->speech().isEmpty();
}

void SpeechTimingCommands::snapToSpeech()
{
    const IndexSet targets = m_table->targetRowIndexes();
    if (targets.isEmpty() || !hasSpeech())
        return;
    const SpeechSnap::Report report = SpeechSnap::snap(m_document->subtitleController(), targets, sourcesOf(m_document, m_media));
    // What was left is worth reading; a plain success only worth a glance.
    if (report.left.isEmpty()) {
        m_statusBar->showMessage(report.summary(), messageTimeout);
        return;
    }
    QStringList lines;
    constexpr int listed = 20;
    for (const SpeechSnap::LeftEdge &edge : report.left.mid(0, listed)) {
        const QString which = edge.edge == SpeechSnap::Edge::Start ? tr("start") : tr("end");
        lines << tr("Subtitle %1, %2: %3").arg(edge.position + 1).arg(which, SpeechSnap::reasonText(edge.reason, report.searchWindow));
    }
    if (report.left.size() > listed)
        lines << tr("… and %n more.", nullptr, int(report.left.size() - listed));
    QMessageBox box(QMessageBox::Information, SpeechSnap::actionName(), report.summary(), QMessageBox::Ok, m_window);
    box.setDetailedText(lines.join(u'\n'));
    box.exec();
}

void SpeechTimingCommands::makeSubtitlesFromSpeech()
{
    if (!hasSpeech())
        return;
    SubtitleController &controller = m_document->subtitleController();
    const SubtitleList old = controller.subtitles();
    const bool hasText = std::any_of(old.begin(), old.end(), [](const SubtitlePtr &s) { return !s->text().trimmed().isEmpty(); });
    if (hasText
        && QMessageBox::question(m_window, tr("Subtitles from Speech"),
                                 tr("Replace the %n subtitle(s) of this document with empty ones made from the speech?",
                                    nullptr, int(old.size())),
                                 QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel)
               != QMessageBox::Yes)
        return;
    const SubtitleList made = SpeechSpotting::spot(sourcesOf(m_document, m_media));
    if (made.isEmpty())
        return;
    m_document->undoManager().runAsOneStep(tr("Subtitles from Speech"), [&] {
        if (!old.isEmpty())
            controller.removeSubtitles(old, IndexSet::fromRange(0, int(old.size())));
        controller.insertSubtitles(made, IndexSet::fromRange(0, int(made.size())));
    });
    m_document->setSelectedSubtitleIndexes(IndexSet(0));
    m_statusBar->showMessage(tr("Made %n subtitle(s) from the speech.", nullptr, int(made.size())), messageTimeout);
}

void SpeechTimingCommands::synchroniseWithSound()
{
    SubtitleController &controller = m_document->subtitleController();
    if (!hasSpeech() || controller.count() == 0)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const SyncResult result = SpeechAlignment::align(controller.subtitles(), m_media->speech());
    QGuiApplication::restoreOverrideCursor();
    const QString title = tr("Synchronise with Sound");
    if (!result.belongs) {
        QMessageBox::information(m_window, title,
                                 tr("These subtitles do not match the speech in this video. Nothing was changed."));
        return;
    }
    QMessageBox box(QMessageBox::Question, title, result.describe(), QMessageBox::Cancel, m_window);
    box.setInformativeText(tr("Speech under the subtitles: %1% now, %2% once synchronised.")
                               .arg(qRound(result.speechBefore * 100))
                               .arg(qRound(result.speechAfter * 100)));
    QPushButton *apply = box.addButton(tr("Synchronise"), QMessageBox::AcceptRole);
    box.setDefaultButton(apply);
    box.exec();
    if (box.clickedButton() != apply)
        return;
    const SubtitleList subtitles = controller.subtitles();
    m_document->undoManager().runAsOneStep(title, [&] {
        controller.updateSubtitles(result.valuesFor(subtitles), IndexSet::fromRange(0, int(subtitles.size())));
    });
}
