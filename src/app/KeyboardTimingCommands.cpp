#include "app/KeyboardTimingCommands.h"

#include "document/Document.h"
#include "document/Player.h"
#include "list/SubtitlesTableViewController.h"
#include "model/CursorInsertion.h"
#include "model/GapChaining.h"
#include "model/TimingSettings.h"

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
    const double step = frames > 0 ? frames * TimingNudge::frameLength(rate) : shortStep;
    const TimingNudge nudge(edge, direction < 0 ? -step : step, rate, m_document->problemIndex().limits().minGap(rate));
    SubtitleController &controller = m_document->subtitleController();
    const QList<Subtitle::Values> values = nudge.valuesFor(controller.subtitles(), targets);
    if (values.isEmpty())
        return; // at a limit already: the key does nothing, as an arrow key at the end of a line
    m_document->undoManager().runAsOneStep(stepName, [&] { controller.updateSubtitles(values, targets); });
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
    GapChaining::Rules rules;
    rules.threshold = TimingSettings::load(QSettings()).chainThreshold(rate);
    rules.minGap = m_document->problemIndex().limits().minGap(rate);
    rules.frameRate = rate;
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
