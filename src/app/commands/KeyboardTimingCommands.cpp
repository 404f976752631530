#include "app/commands/KeyboardTimingCommands.h"

#include "document/Document.h"
#include "document/Player.h"
#include "list/SubtitlesTableViewController.h"
#include "model/CursorInsertion.h"
#include "model/FrameTiming.h"
#include "model/timing/GapChaining.h"
#include "model/quality/QualityLimits.h"
#include "model/timing/TimingSettings.h"

#include <QSettings>
#include <QStatusBar>

namespace {

constexpr int messageTimeout = 5000;

} // namespace

KeyboardTimingCommands::KeyboardTimingCommands(Document *document, SubtitlesTableViewController *table,
                                               QStatusBar *statusBar)
    : m_document(document)
    , m_table(table)
    , m_statusBar(statusBar)
{
}

void KeyboardTimingCommands::nudge(TimingNudge::Edge edge, int frames, int direction, const QString &stepName)
{
    const IndexSet targets = m_table->targetRowIndexes();
    if (targets.isEmpty())
        return;
    const double rate = m_document->frameRate();
    const QualityLimits limits = m_document->problemIndex().limits();
    SubtitleController &controller = m_document->subtitleController();
    const SubtitleList chosen = controller.subtitlesAt(targets);
    const double step = frames > 0 ? direction * frames * FrameTiming::frameLength(rate, limits.frameRate)
                                   : m_shortRun.next(edge, direction, chosen, rate);
    const TimingNudge nudge(edge, step, rate, limits.frameRate, limits.minGap(rate));
    const QList<Subtitle::Values> values = nudge.valuesFor(controller.subtitles(), targets);
    if (!values.isEmpty())
        m_document->undoManager().runAsOneStep(stepName, [&] { controller.updateSubtitles(values, targets); });
    // At a limit already the key does nothing, as an arrow key at the end of a line.
    if (frames == 0)
        m_shortRun.pressed(chosen);
}

void KeyboardTimingCommands::insertAtCursor()
{
    const Player *player = m_document->player();
    if (!player || !m_table->endEditing())
        return;
    const double rate = m_document->frameRate();
    const QualityLimits limits = m_document->problemIndex().limits();
    CursorInsertion::Rules rules;
    rules.duration = TimingSettings::load(QSettings()).defaultDuration;
    rules.minDuration = limits.minDuration;
    rules.minGap = limits.minGap(rate);
    rules.frameRate = rate;
    if (player->duration() > 0)
        rules.videoEnd = player->duration();
    SubtitleController &controller = m_document->subtitleController();
    const auto placement = CursorInsertion::place(controller.subtitles(), player->currentTime(), rules);
    if (!placement) {
        m_statusBar->showMessage(tr("No room for a subtitle at the cursor"), messageTimeout);
        return;
    }
    const SubtitlePtr subtitle = Subtitle::create(QString(), placement->start, placement->end);
    m_document->undoManager().runAsOneStep(tr("Insert Subtitle at Cursor"),
                                           [&] { controller.insertInTimeOrder({subtitle}); });
    m_table->beginEditingSubtitle(controller.indexOf(subtitle));
}

void KeyboardTimingCommands::chainGaps()
{
    const IndexSet targets = m_table->targetRowIndexes();
    if (targets.isEmpty())
        return;
    const double rate = m_document->frameRate();
    const QualityLimits limits = m_document->problemIndex().limits();
    GapChaining::Rules rules;
    rules.threshold = TimingSettings::load(QSettings()).chainThreshold(rate, limits.frameRate);
    rules.minGap = limits.minGap(rate);
    rules.frameRate = rate;
    rules.profileRate = limits.frameRate;
    SubtitleController &controller = m_document->subtitleController();
    // Paired with every target, so that the selection stays as it was.
    const QList<Subtitle::Values> values = GapChaining::chain(controller.subtitles(), targets, rules);
    if (values.isEmpty()) {
        m_statusBar->showMessage(tr("No short gap to close"), messageTimeout);
        return;
    }
    m_document->undoManager().runAsOneStep(tr("Chain Subtitles"),
                                           [&] { controller.updateSubtitles(values, targets); });
}

std::optional<std::pair<int, double>> KeyboardTimingCommands::videoTimingTarget() const
{
    const IndexSet targets = m_table->targetRowIndexes();
    const Player *player = m_document->player();
    if (targets.count() != 1 || !player)
        return std::nullopt;
    return std::pair(targets.first(), FrameTiming::snapToFrame(player->currentTime(), m_document->frameRate()));
}

void KeyboardTimingCommands::setStartFromVideo()
{
    const auto target = videoTimingTarget();
    if (!target)
        return;
    m_document->undoManager().runAsOneStep(tr("Set Start Time"), [&] {
        m_script.setStart(m_document->subtitleController(), target->first, target->second);
    });
}

void KeyboardTimingCommands::setEndFromVideo()
{
    const auto target = videoTimingTarget();
    if (!target)
        return;
    SubtitleController &controller = m_document->subtitleController();
    std::optional<SubtitlePtr> next;
    m_document->undoManager().runAsOneStep(tr("Set End Time"), [&] {
        next = m_script.setEnd(controller, target->first, target->second);
    });
    if (!next) {
        refuseEndNotAfterStart();
        return;
    }
    // While the video plays, the key goes through the script line by line; paused, it
    // stays on the line, to be set again.
    if (m_document->player()->rate() != 0)
        m_document->setSelectedSubtitleIndexes(*next ? IndexSet(controller.indexOf(*next)) : IndexSet());
}

void KeyboardTimingCommands::setEndAndStartNext()
{
    const auto target = videoTimingTarget();
    if (!target)
        return;
    // The next subtitle is selected to be timed from where the video is: it stays there.
    m_document->setSelectionSeeksVideo(false);
    std::optional<int> next;
    m_document->undoManager().runAsOneStep(tr("Set End and Start Next"), [&] {
        next = m_script.endAndStartNext(m_document->subtitleController(), target->first, target->second);
    });
    if (next)
        m_document->setSelectedSubtitleIndexes(IndexSet(*next));
    m_document->setSelectionSeeksVideo(true);
    if (!next)
        refuseEndNotAfterStart();
}

void KeyboardTimingCommands::takeScript(const SubtitleList &lines)
{
    m_script.setScript(lines);
}

void KeyboardTimingCommands::refuseEndNotAfterStart()
{
    m_statusBar->showMessage(tr("The video is not past the subtitle's start: an end there would leave it no time on screen"),
                             messageTimeout);
}
