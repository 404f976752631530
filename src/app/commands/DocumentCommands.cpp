#include "app/commands/DocumentCommands.h"

#include "app/lifecycle/DocumentController.h"
#include "app/window/DocumentPanes.h"
#include "app/window/DocumentWindow.h"
#include "app/commands/KeyboardTimingCommands.h"
#include "app/preferences/PreferencesDialog.h"
#include "app/window/QualityReportExport.h"
#include "app/commands/SpeechAlignmentCommand.h"
#include "app/commands/SpeechTimingCommands.h"
#include "app/commands/TranslationCommands.h"
#include "document/AudioViewSettings.h"
#include "document/Document.h"
#include "document/TimeFormSetting.h"
#include "list/SubtitleTextBox.h" // DocumentPanes hands it out
#include "list/SubtitlesTableViewController.h"
#include "media/MediaSession.h"
#include "panels/FindReplaceDialog.h"
#include "panels/FrameRateDialog.h"
#include "panels/GoToSubtitleViewController.h"
#include "panels/ImportSubtitlesViewController.h"
#include "panels/ProblemsPanel.h"
#include "panels/ShiftTimesDialog.h"
#include "panels/SynchronizeDialog.h"
#include "panels/TimecodeOffsetDialog.h"
#include "player/VideoPlayerViewController.h"
#include "timeline/TimelineViewController.h"

namespace {

using Rule = std::function<bool(const CommandContext &)>;

const Rule always;
const Rule needsVideo = [](const CommandContext &context) { return context.videoLoaded; };
// Timing from the video acts on one row.
const Rule needsVideoAndTarget = [](const CommandContext &context) {
    return context.videoLoaded && context.targetCount == 1;
};
const Rule needsSpeech = [](const CommandContext &context) { return context.speechFound; };
const Rule needsTargets = [](const CommandContext &context) { return context.targetCount > 0; };
const Rule needsOriginal = [](const CommandContext &context) { return context.originalAttached; };

Command make(const QString &id, const char *sourceText, const QKeySequence &keys, Rule enabled, std::function<void()> run)
{
    return {id, sourceText, DocumentCommands::tr(sourceText), keys, std::move(enabled), std::move(run)};
}

// The first key of the desktop's, or ours where the desktop has none (plain X11 has no
// key for Save As or Preferences).
QKeySequence standardOr(QKeySequence::StandardKey key, const QKeySequence &fallback)
{
    return QKeySequence::keyBindings(key).value(0, fallback);
}

enum class PlayPart { Subtitle, BeforeStart, AfterEnd };

// Plays the first target subtitle, or the stretch before its start or after its end.
void playSelectedSubtitle(DocumentWindow &window, PlayPart part)
{
    const IndexSet targets = window.subtitlesTableViewController()->targetRowIndexes();
    if (targets.isEmpty())
        return;
    const SubtitlePtr subtitle = window.document()->subtitleController().at(targets.first());
    VideoPlayerViewController *player = window.videoPlayerViewController();
    constexpr double margin = 0.5;
    if (part == PlayPart::Subtitle)
        player->playRange(subtitle->start, subtitle->end);
    else if (part == PlayPart::BeforeStart)
        player->playRange(subtitle->start - margin, subtitle->start);
    else
        player->playRange(subtitle->end, subtitle->end + margin);
}

void addFileCommands(QList<Command> &commands, DocumentWindow &window)
{
    DocumentWindow *w = &window;
    DocumentController *controller = &window.controller();
    Document *document = window.document();
    TranslationCommands *translation = window.translationCommands();
    commands << make("cuewright.file.new", QT_TRANSLATE_NOOP("DocumentCommands", "&New"), QKeySequence::New, always,
                     [controller] { controller->newDocument(); })
             << make("cuewright.file.open", QT_TRANSLATE_NOOP("DocumentCommands", "&Open…"), QKeySequence::Open, always,
                     [w, controller] { controller->showOpenDialog(w); })
             << make("cuewright.file.openVideo", QT_TRANSLATE_NOOP("DocumentCommands", "Open &Video…"),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), always, [w] { w->panes()->openVideo(w); })
             << make("cuewright.file.openOriginal", QT_TRANSLATE_NOOP("DocumentCommands", "Open Ori&ginal…"), {}, always,
                     [translation] { translation->openOriginal(); })
             << make("cuewright.file.closeOriginal", QT_TRANSLATE_NOOP("DocumentCommands", "Close Origina&l"), {},
                     needsOriginal, [translation] { translation->closeOriginal(); })
             << make("cuewright.file.close", QT_TRANSLATE_NOOP("DocumentCommands", "&Close"), QKeySequence::Close, always,
                     [w] { w->close(); })
             << make("cuewright.file.save", QT_TRANSLATE_NOOP("DocumentCommands", "&Save"), QKeySequence::Save, always,
                     [controller, document] { controller->save(document); })
             << make("cuewright.file.saveAs", QT_TRANSLATE_NOOP("DocumentCommands", "Save &As…"),
                     standardOr(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)), always,
                     [controller, document] { controller->saveAs(document); })
             << make("cuewright.file.revertToSaved", QT_TRANSLATE_NOOP("DocumentCommands", "Rever&t to Saved"), {},
                     [](const CommandContext &context) { return context.canRevert; },
                     [controller, document] { controller->revertToSaved(document); })
             << make("cuewright.file.exportQualityReport", QT_TRANSLATE_NOOP("DocumentCommands", "E&xport Quality Report…"),
                     {}, always, [w, document] { QualityReportExport::run(*document, w); });
    Command quit = make("cuewright.file.quit", QT_TRANSLATE_NOOP("DocumentCommands", "&Quit"), QKeySequence::Quit, always,
                        [controller] { controller->quit(); });
    quit.role = QAction::QuitRole;
    commands << quit;
}

void addEditCommands(QList<Command> &commands, DocumentWindow &window)
{
    DocumentWindow *w = &window;
    Document *document = window.document();
    SubtitlesTableViewController *table = window.subtitlesTableViewController();
    KeyboardTimingCommands *timing = window.keyboardTimingCommands();
    commands << make("cuewright.edit.undo", QT_TRANSLATE_NOOP("DocumentCommands", "&Undo"), QKeySequence::Undo,
                     [](const CommandContext &context) { return context.canUndo; },
                     [document] { document->undoManager().undo(); })
             << make("cuewright.edit.redo", QT_TRANSLATE_NOOP("DocumentCommands", "&Redo"), QKeySequence::Redo,
                     [](const CommandContext &context) { return context.canRedo; },
                     [document] { document->undoManager().redo(); })
             << make("cuewright.edit.copy", QT_TRANSLATE_NOOP("DocumentCommands", "&Copy"), QKeySequence::Copy,
                     [](const CommandContext &context) { return context.canCopy; }, [table] { table->copy(); })
             << make("cuewright.edit.paste", QT_TRANSLATE_NOOP("DocumentCommands", "&Paste"), QKeySequence::Paste,
                     [](const CommandContext &context) { return context.canPaste; }, [table] { table->paste(); })
             << make("cuewright.edit.delete", QT_TRANSLATE_NOOP("DocumentCommands", "&Delete"), QKeySequence::Delete,
                     [](const CommandContext &context) { return context.canDelete; },
                     [table] { table->deleteSubtitles(); })
             << make("cuewright.edit.selectAll", QT_TRANSLATE_NOOP("DocumentCommands", "Select &All"),
                     QKeySequence::SelectAll, always, [table] { table->selectAll(); })
             << make("cuewright.edit.addSubtitle", QT_TRANSLATE_NOOP("DocumentCommands", "Add Subtitle"),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N),
                     [](const CommandContext &context) { return context.canAdd; }, [table] { table->addSubtitle(); })
             << make("cuewright.edit.duplicateSubtitle", QT_TRANSLATE_NOOP("DocumentCommands", "Duplicate Subtitle"),
                     QKeySequence(Qt::CTRL | Qt::Key_D),
                     [](const CommandContext &context) { return context.canDuplicate; },
                     [table] { table->duplicateSubtitle(); });
    // Ctrl+K belongs to text editors (delete to the end of the line); a shortcut with Alt
    // reaches the menu while the text is being edited, which is when Split works.
    Command split = make("cuewright.edit.splitSubtitle", QT_TRANSLATE_NOOP("DocumentCommands", "Split Subtitle at Text Cursor"),
                         QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_K),
                         [](const CommandContext &context) { return context.canSplit; }, [table] { table->splitSubtitle(); });
    split.toolTip = DocumentCommands::tr("Splits the subtitle whose text is being edited where the text cursor is");
    commands << split
             << make("cuewright.edit.importSubtitles", QT_TRANSLATE_NOOP("DocumentCommands", "&Import Subtitles…"),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I), always,
                     [w, document, timing, media = window.media(), alignment = window.speechAlignment()] {
                         const bool speech = !media->path().isEmpty() && !media->speech().isEmpty();
                         const auto imported = ImportSubtitlesViewController::run(document, w, speech);
                         if (!imported)
                             return;
                         // The imported lines are the script that timing from the video goes through
                         // (the list's selection may still hold others a moment longer).
                         IndexSet lines;
                         for (const SubtitlePtr &line : imported->subtitles)
                             lines.insert(document->subtitleController().indexOf(line));
                         timing->takeScript(document->subtitleController().subtitlesAt(lines));
                         if (imported->timeBySpeech)
                             alignment->align(lines, false);
                     })
             << make("cuewright.edit.goToSubtitle", QT_TRANSLATE_NOOP("DocumentCommands", "&Go to Subtitle…"),
                     QKeySequence(Qt::CTRL | Qt::Key_G), always,
                     [w, document] { GoToSubtitleViewController::open(document, w); })
             << make("cuewright.edit.editDisplayedSubtitle", QT_TRANSLATE_NOOP("DocumentCommands", "Edit Displayed Subtitle"),
                     QKeySequence(Qt::CTRL | Qt::Key_E),
                     [](const CommandContext &context) { return context.canEditDisplayed; },
                     [w] { w->panes()->editDisplayedSubtitle(); });
}

// Alt with letters for the nudges, which text editors leave to the window: a left-hand
// block, earlier on the left and later on the right, start, end and the whole subtitle
// from the top row down; with Shift a tenth of a second instead of a frame.
void addKeyboardTimingCommands(QList<Command> &commands, DocumentWindow &window)
{
    KeyboardTimingCommands *timing = window.keyboardTimingCommands();
    commands << make("cuewright.edit.setStartFromVideo", QT_TRANSLATE_NOOP("DocumentCommands", "Set Start Time from Video"),
                     QKeySequence(Qt::CTRL | Qt::Key_BracketLeft), needsVideoAndTarget,
                     [timing] { timing->setStartFromVideo(); })
             << make("cuewright.edit.setEndFromVideo", QT_TRANSLATE_NOOP("DocumentCommands", "Set End Time from Video"),
                     QKeySequence(Qt::CTRL | Qt::Key_BracketRight), needsVideoAndTarget,
                     [timing] { timing->setEndFromVideo(); });
    struct Nudge
    {
        const char *id;
        const char *name;
        TimingNudge::Edge edge;
        int direction;
        int frames; // 0: a tenth of a second
        Qt::Key key;
    };
    static const Nudge nudges[] = {
        {"StartEarlierByFrame", QT_TRANSLATE_NOOP("DocumentCommands", "Start Earlier by a Frame"), TimingNudge::Edge::Start, -1, 1, Qt::Key_Q},
        {"StartLaterByFrame", QT_TRANSLATE_NOOP("DocumentCommands", "Start Later by a Frame"), TimingNudge::Edge::Start, 1, 1, Qt::Key_W},
        {"EndEarlierByFrame", QT_TRANSLATE_NOOP("DocumentCommands", "End Earlier by a Frame"), TimingNudge::Edge::End, -1, 1, Qt::Key_A},
        {"EndLaterByFrame", QT_TRANSLATE_NOOP("DocumentCommands", "End Later by a Frame"), TimingNudge::Edge::End, 1, 1, Qt::Key_S},
        {"SubtitleEarlierByFrame", QT_TRANSLATE_NOOP("DocumentCommands", "Subtitle Earlier by a Frame"), TimingNudge::Edge::Both, -1, 1, Qt::Key_Z},
        {"SubtitleLaterByFrame", QT_TRANSLATE_NOOP("DocumentCommands", "Subtitle Later by a Frame"), TimingNudge::Edge::Both, 1, 1, Qt::Key_X},
        {"StartEarlierBy100ms", QT_TRANSLATE_NOOP("DocumentCommands", "Start Earlier by 100 ms"), TimingNudge::Edge::Start, -1, 0, Qt::Key_Q},
        {"StartLaterBy100ms", QT_TRANSLATE_NOOP("DocumentCommands", "Start Later by 100 ms"), TimingNudge::Edge::Start, 1, 0, Qt::Key_W},
        {"EndEarlierBy100ms", QT_TRANSLATE_NOOP("DocumentCommands", "End Earlier by 100 ms"), TimingNudge::Edge::End, -1, 0, Qt::Key_A},
        {"EndLaterBy100ms", QT_TRANSLATE_NOOP("DocumentCommands", "End Later by 100 ms"), TimingNudge::Edge::End, 1, 0, Qt::Key_S},
        {"SubtitleEarlierBy100ms", QT_TRANSLATE_NOOP("DocumentCommands", "Subtitle Earlier by 100 ms"), TimingNudge::Edge::Both, -1, 0, Qt::Key_Z},
        {"SubtitleLaterBy100ms", QT_TRANSLATE_NOOP("DocumentCommands", "Subtitle Later by 100 ms"), TimingNudge::Edge::Both, 1, 0, Qt::Key_X},
    };
    for (const Nudge &nudge : nudges) {
        const QKeySequence keys(nudge.frames > 0 ? Qt::ALT | nudge.key : Qt::ALT | Qt::SHIFT | nudge.key);
        commands << make(QStringLiteral("cuewright.edit.nudge") + QLatin1String(nudge.id), nudge.name, keys, needsTargets,
                         [timing, nudge] {
                             timing->nudge(nudge.edge, nudge.frames, nudge.direction, DocumentCommands::tr(nudge.name));
                         });
    }
    // Insert is no key of the text editors: it adds a subtitle from the text being typed too.
    commands << make("cuewright.edit.insertSubtitleAtCursor", QT_TRANSLATE_NOOP("DocumentCommands", "Insert Subtitle at Cursor"),
                     QKeySequence(Qt::Key_Insert), needsVideo, [timing] { timing->insertAtCursor(); })
             << make("cuewright.edit.chainSubtitles", QT_TRANSLATE_NOOP("DocumentCommands", "Chain Subtitles"),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_J), needsTargets, [timing] { timing->chainGaps(); });
    TranslationCommands *translation = window.translationCommands();
    commands << make("cuewright.edit.copyTimingsFromOriginal", QT_TRANSLATE_NOOP("DocumentCommands", "Copy Timings from Original"),
                     {}, needsOriginal, [translation] { translation->copyTimingsFromOriginal(); });
}

void addTimingAndTextCommands(QList<Command> &commands, DocumentWindow &window)
{
    DocumentWindow *w = &window;
    Document *document = window.document();
    SubtitlesTableViewController *table = window.subtitlesTableViewController();
    commands << make("cuewright.edit.mergeSubtitles", QT_TRANSLATE_NOOP("DocumentCommands", "Merge Subtitle&s"),
                     QKeySequence(Qt::CTRL | Qt::Key_M), [](const CommandContext &context) { return context.canMerge; },
                     [table] { table->mergeSubtitles(); })
             << make("cuewright.edit.italic", QT_TRANSLATE_NOOP("DocumentCommands", "I&talic"), QKeySequence::Italic, always,
                     [table] { table->toggleItalic(); })
             << make("cuewright.edit.shiftTimes", QT_TRANSLATE_NOOP("DocumentCommands", "S&hift Times…"),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T), always,
                     [w, document] { ShiftTimesDialog(document, w).exec(); })
             << make("cuewright.edit.synchroniseByTwoPoints", QT_TRANSLATE_NOOP("DocumentCommands", "S&ynchronise by Two Points…"),
                     {}, always, [w, document] { SynchronizeDialog(document, w).exec(); })
             << make("cuewright.edit.changeFrameRate", QT_TRANSLATE_NOOP("DocumentCommands", "Change Fra&me Rate…"), {}, always,
                     [w, document] { FrameRateDialog(document, w).exec(); });
    // Speech is found in the background once a video's sound is read: the commands wait for it.
    SpeechTimingCommands *speech = window.speechTimingCommands();
    SpeechAlignmentCommand *alignment = window.speechAlignment();
    commands << make("cuewright.edit.snapToSpeech", QT_TRANSLATE_NOOP("DocumentCommands", "Snap to Spee&ch"),
                     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S), needsSpeech, [speech] { speech->snapToSpeech(); })
             << make("cuewright.edit.alignToSpeech", QT_TRANSLATE_NOOP("DocumentCommands", "Align to Speech"),
                     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A), needsSpeech,
                     [alignment, table, document] {
                         // One chosen row is where the cursor is, not a choice: all of them, then.
                         const IndexSet targets = table->targetRowIndexes();
                         alignment->align(targets.count() > 1 ? targets : IndexSet::fromRange(0, document->subtitleController().count()));
                     })
             << make("cuewright.edit.synchroniseWithSound", QT_TRANSLATE_NOOP("DocumentCommands", "Synchronise &with Sound…"),
                     {}, needsSpeech, [speech] { speech->synchroniseWithSound(); })
             << make("cuewright.edit.subtitlesFromSpeech", QT_TRANSLATE_NOOP("DocumentCommands", "Subtitles from Speec&h"), {},
                     needsSpeech, [speech] { speech->makeSubtitlesFromSpeech(); })
             << make("cuewright.edit.find", QT_TRANSLATE_NOOP("DocumentCommands", "&Find…"), QKeySequence::Find, always,
                     [w, document] { FindReplaceDialog::open(document, w); })
             << make("cuewright.edit.replace", QT_TRANSLATE_NOOP("DocumentCommands", "Replace…"),
                     QKeySequence(Qt::CTRL | Qt::Key_H), always, [w, document] { FindReplaceDialog::open(document, w); })
             << make("cuewright.edit.findNext", QT_TRANSLATE_NOOP("DocumentCommands", "Find &Next"), QKeySequence(Qt::Key_F3),
                     always, [w, document] { FindReplaceDialog::open(document, w)->findNext(); })
             << make("cuewright.edit.findPrevious", QT_TRANSLATE_NOOP("DocumentCommands", "Find Pre&vious"),
                     QKeySequence(Qt::SHIFT | Qt::Key_F3), always,
                     [w, document] { FindReplaceDialog::open(document, w)->findPrevious(); });
    Command preferences = make("cuewright.edit.preferences", QT_TRANSLATE_NOOP("DocumentCommands", "Pre&ferences…"),
                               standardOr(QKeySequence::Preferences, QKeySequence(Qt::CTRL | Qt::Key_Comma)), always,
                               [w] { PreferencesDialog::run(w); });
    preferences.role = QAction::PreferencesRole;
    commands << preferences;
}

// The form of times and the view of the sound are the user's, for every window at once.
void addViewCommands(QList<Command> &commands, DocumentWindow &window)
{
    DocumentWindow *w = &window;
    Document *document = window.document();
    TimelineViewController *timeline = window.timelineViewController();
    commands << make("cuewright.view.zoomIn", QT_TRANSLATE_NOOP("DocumentCommands", "Zoom &In"), QKeySequence::ZoomIn, always,
                     [timeline] { timeline->zoomIn(); })
             << make("cuewright.view.zoomOut", QT_TRANSLATE_NOOP("DocumentCommands", "Zoom &Out"), QKeySequence::ZoomOut, always,
                     [timeline] { timeline->zoomOut(); })
             << make("cuewright.view.zoomToFit", QT_TRANSLATE_NOOP("DocumentCommands", "&Fit Film"),
                     QKeySequence(Qt::CTRL | Qt::Key_0), always, [timeline] { timeline->fitFilm(); })
             << make("cuewright.view.zoomToSelection", QT_TRANSLATE_NOOP("DocumentCommands", "Zoom to &Selection"),
                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_0), needsTargets, [timeline] { timeline->zoomToSelection(); })
             << make("cuewright.view.resetLayout", QT_TRANSLATE_NOOP("DocumentCommands", "&Reset Layout"), QKeySequence(),
                     always, [w = &window] { w->resetLayout(); });
    const auto form = [](TimeForm form) { return [form] { TimeFormSetting::shared()->setForm(form); }; };
    commands << make("cuewright.view.timesAsMilliseconds", QT_TRANSLATE_NOOP("DocumentCommands", "&Milliseconds (00:00:00,000)"),
                     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_1), always, form(TimeForm::Milliseconds))
             << make("cuewright.view.timesAsTimecode", QT_TRANSLATE_NOOP("DocumentCommands", "&Timecode (00:00:00:00)"),
                     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_2), always, form(TimeForm::Timecode))
             << make("cuewright.view.timesAsFrames", QT_TRANSLATE_NOOP("DocumentCommands", "&Frame Numbers"),
                     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_3), always, form(TimeForm::Frames))
             << make("cuewright.view.timecodeOffset", QT_TRANSLATE_NOOP("DocumentCommands", "Ti&mecode Offset…"),
                     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O), always,
                     [w, document] { TimecodeOffsetDialog(document, w).exec(); });
    using View = AudioViewSettings::View;
    const auto view = [](View view) { return [view] { AudioViewSettings::shared()->setView(view); }; };
    commands << make("cuewright.view.showWaveform", QT_TRANSLATE_NOOP("DocumentCommands", "Show &Waveform"),
                     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_4), always, view(View::Waveform))
             << make("cuewright.view.showSpectrogram", QT_TRANSLATE_NOOP("DocumentCommands", "Show Spectro&gram"),
                     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_5), always, view(View::Sonogram))
             << make("cuewright.view.showWaveformAndSpectrogram",
                     QT_TRANSLATE_NOOP("DocumentCommands", "Show Waveform an&d Spectrogram"),
                     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_6), always, view(View::Both))
             << make("cuewright.view.resetWaveformZoom", QT_TRANSLATE_NOOP("DocumentCommands", "Reset Waveform &Zoom"),
                     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_0), always, [timeline] { timeline->resetWaveformZoom(); })
             // Checkable: the window follows the setting.
             << make("cuewright.view.showOriginalOnVideo", QT_TRANSLATE_NOOP("DocumentCommands", "Show Origina&l on Video"),
                     {}, always, {});
    ProblemsPanel *problems = window.problemsPanel();
    commands << make("cuewright.view.nextProblem", QT_TRANSLATE_NOOP("DocumentCommands", "&Next Problem"),
                     QKeySequence(Qt::Key_F8), always, [problems] { problems->goToNextProblem(); })
             << make("cuewright.view.previousProblem", QT_TRANSLATE_NOOP("DocumentCommands", "P&revious Problem"),
                     QKeySequence(Qt::SHIFT | Qt::Key_F8), always, [problems] { problems->goToPreviousProblem(); });
}

void addPlaybackCommands(QList<Command> &commands, DocumentWindow &window)
{
    DocumentWindow *w = &window;
    VideoPlayerViewController *player = window.videoPlayerViewController();
    // Single keys, as in video editors; text fields keep them while typing.
    commands << make("cuewright.playback.playPause", QT_TRANSLATE_NOOP("DocumentCommands", "&Play/Pause"),
                     QKeySequence(Qt::Key_Space), needsVideo, [player] { player->playPause(); })
             << make("cuewright.playback.playBackward", QT_TRANSLATE_NOOP("DocumentCommands", "Play &Backward"),
                     QKeySequence(Qt::Key_J), needsVideo, [player] { player->shuttleBackward(); })
             << make("cuewright.playback.stop", QT_TRANSLATE_NOOP("DocumentCommands", "&Stop"), QKeySequence(Qt::Key_K),
                     needsVideo, [player] { player->shuttleStop(); })
             << make("cuewright.playback.playForward", QT_TRANSLATE_NOOP("DocumentCommands", "Play &Forward"),
                     QKeySequence(Qt::Key_L), needsVideo, [player] { player->shuttleForward(); });
    // Alt with plus, minus and nought, which text editors leave to the window (Alt with the
    // arrows steps to shot changes and speech). The speed holds for the next video too, so
    // they need none loaded.
    commands << make("cuewright.playback.faster", QT_TRANSLATE_NOOP("DocumentCommands", "Fas&ter"),
                     QKeySequence(Qt::ALT | Qt::Key_Equal), always, [player] { player->playFaster(); })
             << make("cuewright.playback.slower", QT_TRANSLATE_NOOP("DocumentCommands", "S&lower"),
                     QKeySequence(Qt::ALT | Qt::Key_Minus), always, [player] { player->playSlower(); })
             << make("cuewright.playback.normalSpeed", QT_TRANSLATE_NOOP("DocumentCommands", "Nor&mal Speed"),
                     QKeySequence(Qt::ALT | Qt::Key_0), always, [player] { player->playAtNormalSpeed(); })
             // Checkable: the window follows the setting.
             << make("cuewright.playback.playAroundDraggedEdges",
                     QT_TRANSLATE_NOOP("DocumentCommands", "Pla&y Around Dragged Edges"), {}, always, {})
             << make("cuewright.playback.announceSubtitles",
                     QT_TRANSLATE_NOOP("DocumentCommands", "Announce Subt&itles"), {}, always, {})
             << make("cuewright.playback.nextFrame", QT_TRANSLATE_NOOP("DocumentCommands", "&Next Frame"),
                     QKeySequence(Qt::CTRL | Qt::Key_Right), needsVideo, [player] { player->stepForward(); })
             << make("cuewright.playback.previousFrame", QT_TRANSLATE_NOOP("DocumentCommands", "Previous F&rame"),
                     QKeySequence(Qt::CTRL | Qt::Key_Left), needsVideo, [player] { player->stepBackward(); });
    // Alt with the arrows: text editors leave those to the window, as they do not the keys
    // with Ctrl (a word left or right). With Shift for subtitle edges, up and down for speech.
    commands << make("cuewright.playback.nextShotChange", QT_TRANSLATE_NOOP("DocumentCommands", "Next Shot Chan&ge"),
                     QKeySequence(Qt::ALT | Qt::Key_Right), needsVideo, [player] { player->goToNextShotChange(); })
             << make("cuewright.playback.previousShotChange", QT_TRANSLATE_NOOP("DocumentCommands", "Previous S&hot Change"),
                     QKeySequence(Qt::ALT | Qt::Key_Left), needsVideo, [player] { player->goToPreviousShotChange(); })
             << make("cuewright.playback.addShotChangeAtCursor", QT_TRANSLATE_NOOP("DocumentCommands", "Add Shot Change at &Cursor"),
                     QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C), needsVideo, [w] { w->panes()->addShotChangeAtPlayerTime(); })
             << make("cuewright.playback.nextSubtitleEdge", QT_TRANSLATE_NOOP("DocumentCommands", "Next Subtitle Edge"),
                     QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Right), needsVideo, [player] { player->goToNextSubtitleEdge(); })
             << make("cuewright.playback.previousSubtitleEdge", QT_TRANSLATE_NOOP("DocumentCommands", "Previous Subtitle Edge"),
                     QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Left), needsVideo,
                     [player] { player->goToPreviousSubtitleEdge(); })
             << make("cuewright.playback.nextSpeechEdge", QT_TRANSLATE_NOOP("DocumentCommands", "Next Speech Edge"),
                     QKeySequence(Qt::ALT | Qt::Key_Down), needsSpeech, [player] { player->goToNextSpeechEdge(); })
             << make("cuewright.playback.previousSpeechEdge", QT_TRANSLATE_NOOP("DocumentCommands", "Previous Speech Edge"),
                     QKeySequence(Qt::ALT | Qt::Key_Up), needsSpeech, [player] { player->goToPreviousSpeechEdge(); });
    commands << make("cuewright.playback.playSelectedSubtitle", QT_TRANSLATE_NOOP("DocumentCommands", "Play Selected S&ubtitle"),
                     QKeySequence(Qt::Key_P), needsVideoAndTarget, [w] { playSelectedSubtitle(*w, PlayPart::Subtitle); })
             << make("cuewright.playback.playBeforeSubtitle",
                     QT_TRANSLATE_NOOP("DocumentCommands", "Play Half a Second Bef&ore It"), QKeySequence(Qt::SHIFT | Qt::Key_P),
                     needsVideoAndTarget, [w] { playSelectedSubtitle(*w, PlayPart::BeforeStart); })
             << make("cuewright.playback.playAfterSubtitle",
                     QT_TRANSLATE_NOOP("DocumentCommands", "Play Half a Second &After It"), QKeySequence(Qt::CTRL | Qt::Key_P),
                     needsVideoAndTarget, [w] { playSelectedSubtitle(*w, PlayPart::AfterEnd); })
             << make("cuewright.playback.setEndAndStartNext", QT_TRANSLATE_NOOP("DocumentCommands", "Set End and Start Ne&xt"),
                     QKeySequence(Qt::CTRL | Qt::Key_Backslash), needsVideoAndTarget,
                     [w] { w->keyboardTimingCommands()->setEndAndStartNext(); });
}

} // namespace

QList<Command> DocumentCommands::of(DocumentWindow &window)
{
    QList<Command> commands;
    addFileCommands(commands, window);
    addEditCommands(commands, window);
    addKeyboardTimingCommands(commands, window);
    addTimingAndTextCommands(commands, window);
    addViewCommands(commands, window);
    addPlaybackCommands(commands, window);
    return commands;
}
