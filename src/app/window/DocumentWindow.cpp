#include "app/window/DocumentWindow.h"

#include "app/lifecycle/DialogFolder.h"
#include "app/commands/CommandRegistry.h"
#include "app/commands/DocumentCommands.h"

#include "document/AudioViewSettings.h"
#include "document/Document.h"
#include "app/lifecycle/DocumentController.h"
#include "app/window/AudioTrackMenu.h"
#include "app/window/DocumentFormatLabel.h"
#include "app/window/EncodingPreview.h"
#include "app/window/DocumentPanes.h"
#include "app/commands/SpeechAlignmentCommand.h"
#include "app/commands/SpeechTimingCommands.h"
#include "app/commands/TranslationCommands.h"
#include "app/window/ReopenWithEncodingMenu.h"
#include "app/window/HelpMenu.h"
#include "app/commands/KeyboardTimingCommands.h"
#include "app/window/QualityProfileButton.h"
#include "app/window/QualityProfileMenu.h"
#include "app/preferences/ShortcutSettings.h"
#include "app/window/SpellingLanguageMenu.h"
#include "app/window/WindowLayout.h"
#include "app/window/WindowPlacement.h"
#include "document/Preferences.h"
#include "model/Fatal.h"
#include "document/TimeFormSetting.h"
#include "list/SubtitleTextBox.h"
#include "list/SubtitlesTableViewController.h"
#include "document/Player.h"
#include "panels/ProblemsPanel.h"
#include "media/MediaSession.h"
#include "player/VideoPlayerViewController.h"
#include "spelling/Spelling.h"
#include "timeline/TimelineViewController.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

QString DocumentWindow::dialogFolder() const
{
    return DialogFolder::startFor(m_document->filePath(), m_player ? m_player->videoPath() : QString());
}

DocumentWindow::DocumentWindow(Document *document, MediaSession *media, DocumentController &controller)
    : m_document(document)
    , m_media(media)
    , m_controller(controller)
{
    resize(1280, 800);
    buildPanes();
    m_translation = new TranslationCommands(document, m_player, this, statusBar());
    m_timingCommands = std::make_unique<KeyboardTimingCommands>(m_document, m_table, statusBar());
    m_speechCommands = std::make_unique<SpeechTimingCommands>(m_document, m_media, m_table, this, statusBar());
    m_alignment = std::make_unique<SpeechAlignmentCommand>(m_document, m_media, this, statusBar(),
                                                           [this] { m_speechCommands->snapToSpeech(); });
    m_commands = new CommandRegistry(this);
    buildMenus();
    ShortcutSettings::repairConflicts(this);
    buildShotChangeProgress();
    statusBar()->addPermanentWidget(new DocumentFormatLabel(document));
    m_panes->placeInTabOrder();
    setAcceptDrops(false);
    updateTitle();
    updateUndoActions();

    connect(document, &Document::filePathChanged, &m_listener, [this] { updateTitle(); });
    for (const auto notice : {&Document::qualityProfileMissing, &Document::qualityProfileFollowedFrameRate})
        connect(document, notice, &m_listener, [this](const QString &message) { showNotice(message); });
    // A film without sound, or without the track its window had, keeps working with what it has.
    connect(m_media, &MediaSession::audioTrackUnavailable, &m_listener, [this](const QString &message) { showNotice(message); });
    connect(&document->undoManager(), &UndoManager::stateChanged, &m_listener, [this] {
        updateUndoActions();
        setWindowModified(m_document->isModified());
    });
    // What the commands act on can change without the selection moving.
    connect(document, &Document::selectionChanged, &m_listener, [this] { updateActionStates(); });
    connect(document, &Document::subtitlesReloaded, &m_listener, [this] { updateActionStates(); });
    connect(document, &Document::subtitlesReordered, &m_listener, [this] { updateActionStates(); });
    connect(document, &Document::playerChanged, &m_listener, [this] { updateActionStates(); });
    connect(document, &Document::subtitlesInserted, &m_listener, [this] { updateActionStates(); });
    connect(document, &Document::subtitlesRemoved, &m_listener, [this] { updateActionStates(); });
    connect(document, &Document::subtitlesUpdated, &m_listener, [this] { updateActionStates(); });
    connect(document, &Document::filePathChanged, &m_listener, [this] { updateActionStates(); });
    connect(&document->originalSubtitles(), &OriginalSubtitles::changed, &m_listener, [this] { updateActionStates(); });
}

// While a video's shot changes are looked for, the status bar says how far it got: as a
// message, which leaves the panes where they are (a progress bar coming and going made
// the status bar taller and moved the timeline under the pointer).
void DocumentWindow::buildShotChangeProgress()
{
    connect(m_media, &MediaSession::shotScanProgressChanged, &m_listener, [this](std::optional<double> progress) {
        const QString text = tr("Finding shot changes… %1%");
        if (progress && m_noticeShown.hasExpired())
            statusBar()->showMessage(text.arg(int(*progress * 100)));
        else if (statusBar()->currentMessage().startsWith(text.section(u'%', 0, 0)))
            statusBar()->clearMessage();
    });
    connect(m_media, &MediaSession::shotScanFailed, &m_listener, [this](const QString &message) {
        statusBar()->showMessage(tr("No shot changes: %1").arg(message), 10000);
    });
}

void DocumentWindow::showNotice(const QString &message)
{
    constexpr int shownFor = 15000; // milliseconds
    statusBar()->showMessage(message, shownFor);
    m_noticeShown.setRemainingTime(shownFor);
}

void DocumentWindow::buildPanes()
{
    m_panes = new DocumentPanes(m_document, m_media, this);
    m_player = m_panes->player();
    m_table = m_panes->table();
    m_timeline = m_panes->timeline();
    connect(m_panes, &DocumentPanes::commandStateChanged, &m_listener, [this] { updateActionStates(); });

    m_problems = new ProblemsPanel(m_document);
    m_problemsDock = new QDockWidget(tr("Problems"), this);
    m_problemsDock->setObjectName(QStringLiteral("problems"));
    m_problemsDock->setWidget(m_problems);
    addDockWidget(Qt::RightDockWidgetArea, m_problemsDock);
    m_problemsDock->hide();
    m_layout = std::make_unique<WindowLayout>(this, m_player, m_table, m_panes->textBox(), m_timeline, m_problemsDock);

    // An unsure guess of the file's encoding is shown above the panes until answered.
    auto *central = new QWidget;
    auto *centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(new EncodingPreview(
        m_document, [this](int encoding) { m_controller.reopenWithEncoding(m_document, encoding); }));
    centralLayout->addWidget(m_layout->centralSplitter(), 1);
    setCentralWidget(central);
    m_table->setFocus();

    // Shown for the first time, it takes a fifth of the window rather than half the list.
    connect(m_problemsDock, &QDockWidget::visibilityChanged, &m_listener, [this](bool visible) {
        if (visible && !m_problemsDock->property("sized").toBool()) {
            m_problemsDock->setProperty("sized", true);
            resizeDocks({m_problemsDock}, {std::max(width() / 5, m_problems->sizeHint().width())}, Qt::Horizontal);
        }
    });
}

DocumentWindow::~DocumentWindow()
{
    m_layout->remember();
}

void DocumentWindow::resetLayout()
{
    m_layout->reset();
}

void DocumentWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    m_layout->applyWhenShown();
}

QAction *DocumentWindow::command(const char *id) const
{
    QAction *action = m_commands->action(QString::fromLatin1(id));
    CUEWRIGHT_EXPECT(action, id);
    return action;
}

void DocumentWindow::addCommands(QMenu *menu, std::initializer_list<const char *> ids)
{
    for (const char *id : ids) {
        if (*id == '\0')
            menu->addSeparator();
        else if (QAction *action = command(id))
            menu->addAction(action);
    }
}

void DocumentWindow::buildMenus()
{
    for (Command &command : DocumentCommands::of(*this))
        m_commands->add(std::move(command));
    ShortcutSettings::applyUserKeys(*m_commands);
    buildFileMenu();
    buildEditMenu();
    buildViewMenu();
    buildPlaybackMenu();
    HelpMenu::add(this);
}

void DocumentWindow::buildFileMenu()
{
    DocumentController *controller = &m_controller;
    QMenu *menu = menuBar()->addMenu(tr("&File"));
    addCommands(menu, {"cuewright.file.new", "cuewright.file.open"});
    m_recentMenu = menu->addMenu(tr("Open &Recent"));
    rebuildRecentMenu();
    connect(&controller->recentFiles(), &RecentFiles::changed, this, &DocumentWindow::rebuildRecentMenu);
    addCommands(menu, {"cuewright.file.openVideo", "cuewright.file.openOriginal", "cuewright.file.closeOriginal", "",
                       "cuewright.file.close", "cuewright.file.save", "cuewright.file.saveAs",
                       "cuewright.file.revertToSaved", "cuewright.file.exportQualityReport"});
    menu->addMenu(new ReopenWithEncodingMenu(
        m_document, [this, controller](int encoding) { controller->reopenWithEncoding(m_document, encoding); }, menu));
    addCommands(menu, {"", "cuewright.file.quit"});
    connect(menu, &QMenu::aboutToShow, this, &DocumentWindow::updateActionStates);
}

void DocumentWindow::rebuildRecentMenu()
{
    m_recentMenu->clear();
    DocumentController *controller = &m_controller;
    const QStringList recent = controller->recentFiles().list();
    for (const QString &path : recent) {
        QAction *action = m_recentMenu->addAction(QFileInfo(path).fileName());
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, controller, path] { controller->openDocument(path, this); });
    }
    if (!recent.isEmpty())
        m_recentMenu->addSeparator();
    QAction *clear = m_recentMenu->addAction(tr("Clear Menu"));
    clear->setEnabled(!recent.isEmpty());
    connect(clear, &QAction::triggered, &controller->recentFiles(), &RecentFiles::clear);
}

void DocumentWindow::buildEditMenu()
{
    QMenu *menu = menuBar()->addMenu(tr("&Edit"));
    addCommands(menu, {"cuewright.edit.undo", "cuewright.edit.redo", "", "cuewright.edit.copy", "cuewright.edit.paste",
                       "cuewright.edit.delete", "cuewright.edit.selectAll", "", "cuewright.edit.addSubtitle",
                       "cuewright.edit.duplicateSubtitle", "cuewright.edit.splitSubtitle", "",
                       "cuewright.edit.importSubtitles", "cuewright.edit.goToSubtitle",
                       "cuewright.edit.editDisplayedSubtitle", "cuewright.edit.setStartFromVideo",
                       "cuewright.edit.setEndFromVideo"});
    QMenu *nudges = menu->addMenu(tr("Nudge"));
    addCommands(nudges, {"cuewright.edit.nudgeStartEarlierByFrame", "cuewright.edit.nudgeStartLaterByFrame",
                         "cuewright.edit.nudgeEndEarlierByFrame", "cuewright.edit.nudgeEndLaterByFrame",
                         "cuewright.edit.nudgeSubtitleEarlierByFrame", "cuewright.edit.nudgeSubtitleLaterByFrame", "",
                         "cuewright.edit.nudgeStartEarlierBy100ms", "cuewright.edit.nudgeStartLaterBy100ms",
                         "cuewright.edit.nudgeEndEarlierBy100ms", "cuewright.edit.nudgeEndLaterBy100ms",
                         "cuewright.edit.nudgeSubtitleEarlierBy100ms", "cuewright.edit.nudgeSubtitleLaterBy100ms"});
    addCommands(menu, {"cuewright.edit.insertSubtitleAtCursor", "cuewright.edit.chainSubtitles",
                       "cuewright.edit.copyTimingsFromOriginal", "cuewright.edit.mergeSubtitles", "cuewright.edit.italic",
                       "", "cuewright.edit.shiftTimes", "cuewright.edit.synchroniseByTwoPoints",
                       "cuewright.edit.changeFrameRate", "", "cuewright.edit.snapToSpeech",
                       "cuewright.edit.alignToSpeech", "cuewright.edit.synchroniseWithSound", "cuewright.edit.subtitlesFromSpeech", "",
                       "cuewright.edit.find", "cuewright.edit.replace", "cuewright.edit.findNext",
                       "cuewright.edit.findPrevious", "", "cuewright.edit.preferences"});
    menu->setToolTipsVisible(true);
    connect(menu, &QMenu::aboutToShow, this, &DocumentWindow::updateActionStates);
}

void DocumentWindow::buildViewMenu()
{
    QMenu *menu = menuBar()->addMenu(tr("&View"));
    addCommands(menu, {"cuewright.view.zoomIn", "cuewright.view.zoomOut", "cuewright.view.zoomToFit",
                       "cuewright.view.zoomToSelection"});
    addTimeFormCommands(menu);
    addSoundViewCommands(menu);
    menu->addSeparator();
    QAction *showOriginal = command("cuewright.view.showOriginalOnVideo");
    menu->addAction(showOriginal);
    m_translation->setShowOnVideoAction(showOriginal);
    auto *spelling = new Spelling(this);
    m_table->setSpelling(spelling);
    m_panes->textBox()->setSpelling(spelling);
    new SpellingLanguageMenu(spelling, m_document, menu);
    menu->addSeparator();
    QAction *showProblems = m_problemsDock->toggleViewAction();
    showProblems->setText(tr("&Problems"));
    menu->addAction(showProblems);
    addCommands(menu, {"cuewright.view.nextProblem", "cuewright.view.previousProblem", "", "cuewright.view.resetLayout", ""});
    auto *profiles = new QualityProfileMenu(m_document, this);
    menu->addMenu(profiles);
    statusBar()->addPermanentWidget(new QualityProfileButton(m_document, profiles));
}

// The form of times is the user's, for every window at once; the offset is this document's.
void DocumentWindow::addTimeFormCommands(QMenu *menu)
{
    menu->addSeparator();
    QMenu *forms = menu->addMenu(tr("Show &Times As"));
    forms->setToolTipsVisible(true);
    auto *group = new QActionGroup(forms);
    const auto addForm = [&](TimeForm form, const char *id) {
        QAction *action = command(id);
        forms->addAction(action);
        action->setCheckable(true);
        action->setData(int(form));
        group->addAction(action);
        return action;
    };
    addForm(TimeForm::Milliseconds, "cuewright.view.timesAsMilliseconds");
    const QList<QAction *> needRate{addForm(TimeForm::Timecode, "cuewright.view.timesAsTimecode"),
                                    addForm(TimeForm::Frames, "cuewright.view.timesAsFrames")};
    const auto update = [this, group, needRate] {
        const TimeForm chosen = TimeFormSetting::shared()->form();
        for (QAction *action : group->actions())
            action->setChecked(action->data().toInt() == int(chosen));
        const QString note = m_document->frameRate() > 0
            ? QString()
            : tr("Needs the video's frame rate: until one is known, times show in milliseconds.");
        for (QAction *action : needRate)
            action->setToolTip(note); // empty: the command's name
    };
    update();
    connect(TimeFormSetting::shared(), &TimeFormSetting::formChanged, &m_listener, update);
    connect(m_document, &Document::timeDisplayChanged, &m_listener, update);
    addCommands(menu, {"cuewright.view.timecodeOffset"});
}

// How the timeline shows the sound: one choice for every window, so each window's menu
// follows the choice made in any of them.
void DocumentWindow::addSoundViewCommands(QMenu *menu)
{
    using View = AudioViewSettings::View;
    menu->addSeparator();
    auto *group = new QActionGroup(menu);
    const auto addView = [this, menu, group](const char *id, View view) {
        QAction *action = command(id);
        menu->addAction(action);
        action->setCheckable(true);
        action->setChecked(AudioViewSettings::shared()->view() == view);
        group->addAction(action);
        connect(AudioViewSettings::shared(), &AudioViewSettings::viewChanged, action,
                [action, view](View chosen) { action->setChecked(chosen == view); });
    };
    addView("cuewright.view.showWaveform", View::Waveform);
    addView("cuewright.view.showSpectrogram", View::Sonogram);
    addView("cuewright.view.showWaveformAndSpectrogram", View::Both);
    addCommands(menu, {"cuewright.view.resetWaveformZoom"});
}

void DocumentWindow::buildPlaybackMenu()
{
    QMenu *menu = menuBar()->addMenu(tr("&Playback"));
    addCommands(menu, {"cuewright.playback.playPause", "cuewright.playback.playBackward", "cuewright.playback.stop",
                       "cuewright.playback.playForward", "", "cuewright.playback.faster", "cuewright.playback.slower",
                       "cuewright.playback.normalSpeed"});
    addSettingCommand(menu, "cuewright.playback.playAroundDraggedEdges", &Preferences::playsDraggedEdges,
                      &Preferences::setPlaysDraggedEdges);
    // For a screen reader: each subtitle as playback reaches it.
    addSettingCommand(menu, "cuewright.playback.announceSubtitles", &Preferences::announcesSubtitles,
                      &Preferences::setAnnouncesSubtitles);
    menu->addSeparator();
    menu->addMenu(new AudioTrackMenu(m_media, menu));
    addCommands(menu, {"", "cuewright.playback.nextFrame", "cuewright.playback.previousFrame", "",
                       "cuewright.playback.nextShotChange", "cuewright.playback.previousShotChange",
                       "cuewright.playback.addShotChangeAtCursor", "cuewright.playback.nextSubtitleEdge",
                       "cuewright.playback.previousSubtitleEdge", "cuewright.playback.nextSpeechEdge",
                       "cuewright.playback.previousSpeechEdge", "", "cuewright.playback.playSelectedSubtitle",
                       "cuewright.playback.playBeforeSubtitle", "cuewright.playback.playAfterSubtitle",
                       "cuewright.playback.setEndAndStartNext"});
    m_timeline->addContextMenuAction(command("cuewright.playback.addShotChangeAtCursor"));
    connect(menu, &QMenu::aboutToShow, this, &DocumentWindow::updateActionStates);
}

// A setting of every window: read again whenever the menu opens.
void DocumentWindow::addSettingCommand(QMenu *menu, const char *id, bool (*get)(), void (*set)(bool))
{
    QAction *action = command(id);
    menu->addAction(action);
    action->setCheckable(true);
    action->setChecked(get());
    connect(action, &QAction::toggled, this, set);
    connect(menu, &QMenu::aboutToShow, action, [action, get] { action->setChecked(get()); });
}

void DocumentWindow::updateTitle()
{
    setWindowTitle(tr("%1[*] — Cuewright").arg(m_document->displayName()));
    setWindowFilePath(m_document->filePath());
    setWindowModified(m_document->isModified());
}

void DocumentWindow::updateUndoActions()
{
    const UndoManager &undo = m_document->undoManager();
    command("cuewright.edit.undo")
        ->setText(undo.undoActionName().isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(undo.undoActionName()));
    command("cuewright.edit.redo")
        ->setText(undo.redoActionName().isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(undo.redoActionName()));
    updateActionStates();
}

CommandContext DocumentWindow::commandContext() const
{
    const UndoManager &undo = m_document->undoManager();
    CommandContext context;
    context.videoLoaded = m_document->player() != nullptr;
    context.speechFound = m_speechCommands->hasSpeech();
    context.targetCount = int(m_table->targetRowIndexes().count());
    context.originalAttached = m_document->originalSubtitles().isAttached();
    context.canUndo = undo.canUndo();
    context.canRedo = undo.canRedo();
    context.canRevert = !m_document->filePath().isEmpty() && m_document->isModified();
    context.canCopy = m_table->canCopy();
    context.canPaste = m_table->canPaste();
    context.canDelete = m_table->canDeleteSubtitles();
    context.canAdd = m_table->canAddSubtitle();
    context.canDuplicate = m_table->canDuplicateSubtitle();
    context.canSplit = m_table->canSplitSubtitle();
    context.canMerge = m_table->canMergeSubtitles();
    context.canEditDisplayed = m_panes->canEditDisplayedSubtitle();
    return context;
}

void DocumentWindow::updateActionStates()
{
    if (!m_commands)
        return; // the panes report while the window is being built
    m_commands->refresh(commandContext());
}

QVariantMap DocumentWindow::saveState() const
{
    QVariantMap state = m_panes->saveState();
    state.insert(QStringLiteral("geometry"), saveGeometry());
    state.insert(m_layout->save());
    return state;
}

void DocumentWindow::restoreState(const QVariantMap &storedState)
{
    const QVariantMap state = Preferences::checkedWindowState(storedState);
    restoreGeometry(state.value(QStringLiteral("geometry")).toByteArray());
    WindowPlacement::fitOnScreen(this);
    m_layout->restore(state);
    m_panes->restoreState(state);
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    // The controller asks, then takes this window down with the document, later.
    event->setAccepted(m_controller.closeDocument(m_document));
}

void DocumentWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
}
