#include "app/DocumentWindow.h"

#include "app/DialogFolder.h"

#include "document/AudioViewSettings.h"
#include "document/Document.h"
#include "app/DocumentController.h"
#include "app/DocumentFormatLabel.h"
#include "app/EncodingPreview.h"
#include "app/DocumentPanes.h"
#include "app/SpeechTimingCommands.h"
#include "app/TranslationCommands.h"
#include "app/ReopenWithEncodingMenu.h"
#include "app/HelpMenu.h"
#include "app/KeyboardTimingCommands.h"
#include "app/PreferencesDialog.h"
#include "app/QualityProfileButton.h"
#include "app/QualityProfileMenu.h"
#include "app/QualityReportExport.h"
#include "app/ShortcutSettings.h"
#include "app/SpellingLanguageMenu.h"
#include "app/WindowPlacement.h"
#include "document/Preferences.h"
#include "document/TimeFormSetting.h"
#include "list/SubtitleTextBox.h"
#include "list/SubtitlesTableViewController.h"
#include "model/FrameTiming.h"
#include "panels/FindReplaceDialog.h"
#include "panels/FrameRateDialog.h"
#include "panels/GoToSubtitleViewController.h"
#include "panels/ImportSubtitlesViewController.h"
#include "document/Player.h"
#include "panels/ProblemsPanel.h"
#include "panels/ShiftTimesDialog.h"
#include "media/MediaSession.h"
#include "panels/SynchronizeDialog.h"
#include "panels/TimecodeOffsetDialog.h"
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
    buildMenus();
    ShortcutSettings::repairConflicts(this);
    buildShotChangeProgress();
    statusBar()->addPermanentWidget(new DocumentFormatLabel(document));
    setAcceptDrops(false);
    updateTitle();
    updateUndoActions();
    updateActionStates();

    connect(document, &Document::filePathChanged, &m_listener, [this] { updateTitle(); });
    for (const auto notice : {&Document::qualityProfileMissing, &Document::qualityProfileFollowedFrameRate})
        connect(document, notice, &m_listener, [this](const QString &message) { showNotice(message); });
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

    m_listSplitter = new QSplitter(Qt::Vertical);
    m_listSplitter->addWidget(m_table);
    m_listSplitter->addWidget(m_panes->textBox());
    m_listSplitter->setStretchFactor(0, 4);
    m_listSplitter->setStretchFactor(1, 1);
    m_listSplitter->setChildrenCollapsible(false);

    m_topSplitter = new QSplitter(Qt::Horizontal);
    m_topSplitter->addWidget(m_player);
    m_topSplitter->addWidget(m_listSplitter);
    m_topSplitter->setStretchFactor(0, 1);
    m_topSplitter->setStretchFactor(1, 1);
    m_topSplitter->setChildrenCollapsible(false);

    m_verticalSplitter = new QSplitter(Qt::Vertical);
    m_verticalSplitter->addWidget(m_topSplitter);
    m_verticalSplitter->addWidget(m_timeline);
    m_verticalSplitter->setStretchFactor(0, 3);
    m_verticalSplitter->setStretchFactor(1, 2);
    m_verticalSplitter->setChildrenCollapsible(false);
    // An unsure guess of the file's encoding is shown above the panes until answered.
    auto *central = new QWidget;
    auto *centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(new EncodingPreview(
        m_document, [this](int encoding) { m_controller.reopenWithEncoding(m_document, encoding); }));
    centralLayout->addWidget(m_verticalSplitter, 1);
    setCentralWidget(central);
    m_table->setFocus();

    m_problems = new ProblemsPanel(m_document);
    m_problemsDock = new QDockWidget(tr("Problems"), this);
    m_problemsDock->setObjectName(QStringLiteral("problems"));
    m_problemsDock->setWidget(m_problems);
    addDockWidget(Qt::RightDockWidgetArea, m_problemsDock);
    m_problemsDock->hide();
    // Shown for the first time, it takes a fifth of the window rather than half the list.
    connect(m_problemsDock, &QDockWidget::visibilityChanged, &m_listener, [this](bool visible) {
        if (visible && !m_problemsDock->property("sized").toBool()) {
            m_problemsDock->setProperty("sized", true);
            resizeDocks({m_problemsDock}, {std::max(width() / 5, m_problems->sizeHint().width())}, Qt::Horizontal);
        }
    });
}

DocumentWindow::~DocumentWindow() = default;

QAction *DocumentWindow::addAction(QMenu *menu, const char *sourceText, const QKeySequence &shortcut,
                                   std::function<void()> slot)
{
    QAction *action = menu->addAction(tr(sourceText));
    action->setShortcut(shortcut);
    // Known by its English name, so that keys the user chose hold in every language.
    ShortcutSettings::registerAction(action, QString::fromUtf8(sourceText));
    connect(action, &QAction::triggered, this, std::move(slot));
    return action;
}

void DocumentWindow::buildMenus()
{
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
    addAction(menu, QT_TR_NOOP("&New"), QKeySequence::New, [controller] { controller->newDocument(); });
    addAction(menu, QT_TR_NOOP("&Open…"), QKeySequence::Open, [this, controller] { controller->showOpenDialog(this); });
    m_recentMenu = menu->addMenu(tr("Open &Recent"));
    rebuildRecentMenu();
    connect(&controller->recentFiles(), &RecentFiles::changed, this, &DocumentWindow::rebuildRecentMenu);
    addAction(menu, QT_TR_NOOP("Open &Video…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
              [this] { m_panes->openVideo(this); });
    TranslationCommands *translation = m_translation;
    addAction(menu, QT_TR_NOOP("Open Ori&ginal…"), {}, [translation] { translation->openOriginal(); });
    translation->setNeedsOriginal(addAction(menu, QT_TR_NOOP("Close Origina&l"), {}, [translation] { translation->closeOriginal(); }));
    menu->addSeparator();
    addAction(menu, QT_TR_NOOP("&Close"), QKeySequence::Close, [this] { close(); });
    addAction(menu, QT_TR_NOOP("&Save"), QKeySequence::Save, [this, controller] { controller->save(m_document); });
    // Plain X11 has no key for Save As; the usual one then.
    const QList<QKeySequence> saveAsKeys = QKeySequence::keyBindings(QKeySequence::SaveAs);
    addAction(menu, QT_TR_NOOP("Save &As…"), saveAsKeys.value(0, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)),
              [this, controller] { controller->saveAs(m_document); });
    m_revertAction = addAction(menu, QT_TR_NOOP("Rever&t to Saved"), {}, [this, controller] { controller->revertToSaved(m_document); });
    addAction(menu, QT_TR_NOOP("E&xport Quality Report…"), {}, [this] { QualityReportExport::run(*m_document, this); });
    menu->addMenu(new ReopenWithEncodingMenu(
        m_document, [this, controller](int encoding) { controller->reopenWithEncoding(m_document, encoding); }, menu));
    connect(menu, &QMenu::aboutToShow, this, [this] {
        m_revertAction->setEnabled(!m_document->filePath().isEmpty() && m_document->isModified());
    });
    menu->addSeparator();
    QAction *quit = addAction(menu, QT_TR_NOOP("&Quit"), QKeySequence::Quit, [controller] { controller->quit(); });
    quit->setMenuRole(QAction::QuitRole);
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
    m_undoAction = addAction(menu, QT_TR_NOOP("&Undo"), QKeySequence::Undo, [this] { m_document->undoManager().undo(); });
    m_redoAction = addAction(menu, QT_TR_NOOP("&Redo"), QKeySequence::Redo, [this] { m_document->undoManager().redo(); });
    menu->addSeparator();
    SubtitlesTableViewController *table = m_table;
    m_copyAction = addAction(menu, QT_TR_NOOP("&Copy"), QKeySequence::Copy, [table] { table->copy(); });
    m_pasteAction = addAction(menu, QT_TR_NOOP("&Paste"), QKeySequence::Paste, [table] { table->paste(); });
    m_deleteAction = addAction(menu, QT_TR_NOOP("&Delete"), QKeySequence::Delete, [table] { table->deleteSubtitles(); });
    addAction(menu, QT_TR_NOOP("Select &All"), QKeySequence::SelectAll, [table] { table->selectAll(); });
    menu->addSeparator();
    m_addAction = addAction(menu, QT_TR_NOOP("Add Subtitle"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N),
                            [table] { table->addSubtitle(); });
    m_duplicateAction = addAction(menu, QT_TR_NOOP("Duplicate Subtitle"), QKeySequence(Qt::CTRL | Qt::Key_D),
                                  [table] { table->duplicateSubtitle(); });
    // Ctrl+K belongs to text editors (delete to the end of the line); a shortcut with Alt
    // reaches the menu while the text is being edited, which is when Split works.
    m_splitAction = addAction(menu, QT_TR_NOOP("Split Subtitle at Text Cursor"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_K),
                              [table] { table->splitSubtitle(); });
    m_splitAction->setToolTip(tr("Splits the subtitle whose text is being edited where the text cursor is"));
    m_splitAction->setStatusTip(m_splitAction->toolTip());
    menu->addSeparator();
    addAction(menu, QT_TR_NOOP("&Import Subtitles…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I),
              [this] {
                  // The imported lines are selected: the script that timing from the video goes through.
                  if (ImportSubtitlesViewController::run(m_document, this))
                      m_timingCommands->takeScript(m_document->subtitleController().subtitlesAt(m_document->selectedSubtitleIndexes()));
              });
    addAction(menu, QT_TR_NOOP("&Go to Subtitle…"), QKeySequence(Qt::CTRL | Qt::Key_G),
              [this] { GoToSubtitleViewController::open(m_document, this); });
    m_editDisplayedAction = addAction(menu, QT_TR_NOOP("Edit Displayed Subtitle"), QKeySequence(Qt::CTRL | Qt::Key_E),
                                      [this] { m_panes->editDisplayedSubtitle(); });
    addKeyboardTimingCommands(menu);
    TranslationCommands *translation = m_translation;
    translation->setNeedsOriginal(addAction(menu, QT_TR_NOOP("Copy Timings from Original"), {},
                                            [translation] { translation->copyTimingsFromOriginal(); }));
    addTimingAndTextCommands(menu);
    menu->addSeparator();
    // Given before the command is registered, so that keys the user chose replace it.
    const QList<QKeySequence> preferenceKeys = QKeySequence::keyBindings(QKeySequence::Preferences);
    QAction *preferences = addAction(menu, QT_TR_NOOP("Pre&ferences…"),
                                     preferenceKeys.value(0, QKeySequence(Qt::CTRL | Qt::Key_Comma)),
                                     [this] { PreferencesDialog::run(this); });
    preferences->setMenuRole(QAction::PreferencesRole);
    menu->setToolTipsVisible(true);
    m_editMenu = menu;
    connect(menu, &QMenu::aboutToShow, this, &DocumentWindow::updateActionStates);
}

void DocumentWindow::buildViewMenu()
{
    QMenu *menu = menuBar()->addMenu(tr("&View"));
    TimelineViewController *timeline = m_timeline;
    addAction(menu, QT_TR_NOOP("Zoom &In"), QKeySequence::ZoomIn, [timeline] { timeline->zoomIn(); });
    addAction(menu, QT_TR_NOOP("Zoom &Out"), QKeySequence::ZoomOut, [timeline] { timeline->zoomOut(); });
    addAction(menu, QT_TR_NOOP("Zoom to &Fit"), QKeySequence(Qt::CTRL | Qt::Key_0), [timeline] { timeline->zoomToFit(); });
    addTimeFormCommands(menu);
    addSoundViewCommands(menu);
    menu->addSeparator();
    m_translation->setShowOnVideoAction(addAction(menu, QT_TR_NOOP("Show Origina&l on Video"), {}, [] {}));
    auto *spelling = new Spelling(this);
    m_table->setSpelling(spelling);
    m_panes->textBox()->setSpelling(spelling);
    new SpellingLanguageMenu(spelling, m_document, menu);
    menu->addSeparator();
    QAction *showProblems = m_problemsDock->toggleViewAction();
    showProblems->setText(tr("&Problems"));
    menu->addAction(showProblems);
    ProblemsPanel *problems = m_problems;
    addAction(menu, QT_TR_NOOP("&Next Problem"), QKeySequence(Qt::Key_F8), [problems] { problems->goToNextProblem(); });
    addAction(menu, QT_TR_NOOP("P&revious Problem"), QKeySequence(Qt::SHIFT | Qt::Key_F8),
              [problems] { problems->goToPreviousProblem(); });
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
    const auto addForm = [&](TimeForm form, const char *sourceText, const QKeySequence &shortcut) {
        QAction *action = addAction(forms, sourceText, shortcut, [form] { TimeFormSetting::shared()->setForm(form); });
        action->setCheckable(true);
        action->setData(int(form));
        group->addAction(action);
        return action;
    };
    addForm(TimeForm::Milliseconds, QT_TR_NOOP("&Milliseconds (00:00:00,000)"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_1));
    const QList<QAction *> needRate{
        addForm(TimeForm::Timecode, QT_TR_NOOP("&Timecode (00:00:00:00)"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_2)),
        addForm(TimeForm::Frames, QT_TR_NOOP("&Frame Numbers"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_3))};
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
    addAction(menu, QT_TR_NOOP("Ti&mecode Offset…"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O),
              [this] { TimecodeOffsetDialog(m_document, this).exec(); });
}

// How the timeline shows the sound: one choice for every window, so each window's menu
// follows the choice made in any of them.
void DocumentWindow::addSoundViewCommands(QMenu *menu)
{
    using View = AudioViewSettings::View;
    menu->addSeparator();
    auto *group = new QActionGroup(menu);
    const auto addView = [this, menu, group](const char *sourceText, Qt::Key key, View view) {
        QAction *action = addAction(menu, sourceText, QKeySequence(Qt::CTRL | Qt::ALT | key),
                                    [view] { AudioViewSettings::shared()->setView(view); });
        action->setCheckable(true);
        action->setChecked(AudioViewSettings::shared()->view() == view);
        group->addAction(action);
        connect(AudioViewSettings::shared(), &AudioViewSettings::viewChanged, action,
                [action, view](View chosen) { action->setChecked(chosen == view); });
    };
    addView(QT_TR_NOOP("Show &Waveform"), Qt::Key_4, View::Waveform);
    addView(QT_TR_NOOP("Show Spectro&gram"), Qt::Key_5, View::Sonogram);
    addView(QT_TR_NOOP("Show Waveform an&d Spectrogram"), Qt::Key_6, View::Both);
    TimelineViewController *timeline = m_timeline;
    addAction(menu, QT_TR_NOOP("Reset Waveform &Zoom"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_0),
              [timeline] { timeline->resetWaveformZoom(); });
}

void DocumentWindow::buildPlaybackMenu()
{
    QMenu *menu = menuBar()->addMenu(tr("&Playback"));
    VideoPlayerViewController *player = m_player;
    // Single keys, as in video editors; text fields keep them while typing.
    m_needsVideo << addAction(menu, QT_TR_NOOP("&Play/Pause"), QKeySequence(Qt::Key_Space), [player] { player->playPause(); });
    m_needsVideo << addAction(menu, QT_TR_NOOP("Play &Backward"), QKeySequence(Qt::Key_J), [player] { player->shuttleBackward(); });
    m_needsVideo << addAction(menu, QT_TR_NOOP("&Stop"), QKeySequence(Qt::Key_K), [player] { player->shuttleStop(); });
    m_needsVideo << addAction(menu, QT_TR_NOOP("Play &Forward"), QKeySequence(Qt::Key_L), [player] { player->shuttleForward(); });
    addSpeedCommands(menu);
    menu->addSeparator();
    m_needsVideo << addAction(menu, QT_TR_NOOP("&Next Frame"), QKeySequence(Qt::CTRL | Qt::Key_Right), [player] { player->stepForward(); });
    m_needsVideo << addAction(menu, QT_TR_NOOP("Previous F&rame"), QKeySequence(Qt::CTRL | Qt::Key_Left), [player] { player->stepBackward(); });
    addShotChangeCommands(menu);
    addEdgeStepCommands(menu);
    addTimingWhilePlayingCommands(menu);
    connect(menu, &QMenu::aboutToShow, this, &DocumentWindow::updateActionStates);
}

// Alt with plus, minus and nought, which text editors leave to the window (Alt with the
// arrows steps to shot changes and speech). The speed holds for the next video too, so they need none loaded.
void DocumentWindow::addSpeedCommands(QMenu *menu)
{
    menu->addSeparator();
    VideoPlayerViewController *player = m_player;
    addAction(menu, QT_TR_NOOP("Fas&ter"), QKeySequence(Qt::ALT | Qt::Key_Equal), [player] { player->playFaster(); });
    addAction(menu, QT_TR_NOOP("S&lower"), QKeySequence(Qt::ALT | Qt::Key_Minus), [player] { player->playSlower(); });
    addAction(menu, QT_TR_NOOP("Nor&mal Speed"), QKeySequence(Qt::ALT | Qt::Key_0), [player] { player->playAtNormalSpeed(); });
    // A setting of every window: read again whenever the menu opens.
    QAction *edges = addAction(menu, QT_TR_NOOP("Pla&y Around Dragged Edges"), {}, [] {});
    edges->setCheckable(true);
    edges->setChecked(Preferences::playsDraggedEdges());
    connect(edges, &QAction::toggled, this, &Preferences::setPlaysDraggedEdges);
    connect(menu, &QMenu::aboutToShow, edges, [edges] { edges->setChecked(Preferences::playsDraggedEdges()); });
}

// Alt with the arrows: text editors leave those to the window, as they do not the keys
// with Ctrl (a word left or right).
void DocumentWindow::addShotChangeCommands(QMenu *menu)
{
    menu->addSeparator();
    VideoPlayerViewController *player = m_player;
    m_needsVideo << addAction(menu, QT_TR_NOOP("Next Shot Chan&ge"), QKeySequence(Qt::ALT | Qt::Key_Right),
                              [player] { player->goToNextShotChange(); });
    m_needsVideo << addAction(menu, QT_TR_NOOP("Previous S&hot Change"), QKeySequence(Qt::ALT | Qt::Key_Left),
                              [player] { player->goToPreviousShotChange(); });
    QAction *add = addAction(menu, QT_TR_NOOP("Add Shot Change at &Cursor"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C),
                             [this] { m_panes->addShotChangeAtPlayerTime(); });
    m_needsVideo << add;
    m_timeline->addContextMenuAction(add);
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
    m_undoAction->setEnabled(undo.canUndo());
    m_redoAction->setEnabled(undo.canRedo());
    m_undoAction->setText(undo.undoActionName().isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(undo.undoActionName()));
    m_redoAction->setText(undo.redoActionName().isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(undo.redoActionName()));
}

void DocumentWindow::updateActionStates()
{
    m_copyAction->setEnabled(m_table->canCopy());
    m_pasteAction->setEnabled(m_table->canPaste());
    m_deleteAction->setEnabled(m_table->canDeleteSubtitles());
    m_addAction->setEnabled(m_table->canAddSubtitle());
    m_duplicateAction->setEnabled(m_table->canDuplicateSubtitle());
    m_splitAction->setEnabled(m_table->canSplitSubtitle());
    m_editDisplayedAction->setEnabled(m_panes->canEditDisplayedSubtitle());
    for (QAction *action : std::as_const(m_needsVideo))
        action->setEnabled(m_document->player() != nullptr);
    const bool oneTarget = m_table->targetRowIndexes().count() == 1;
    for (QAction *action : std::as_const(m_needsVideoAndTarget))
        action->setEnabled(m_document->player() != nullptr && oneTarget);
    m_mergeAction->setEnabled(m_table->canMergeSubtitles());
    for (QAction *action : std::as_const(m_needsSpeech))
        action->setEnabled(m_speechCommands->hasSpeech());
    const bool hasTargets = !m_table->targetRowIndexes().isEmpty();
    for (QAction *action : std::as_const(m_needsTargets))
        action->setEnabled(hasTargets);
}

// Alt with letters for the nudges, which text editors leave to the window: a left-hand
// block, earlier on the left and later on the right, start, end and the whole subtitle
// from the top row down; with Shift a tenth of a second instead of a frame.
void DocumentWindow::addKeyboardTimingCommands(QMenu *menu)
{
    m_timingCommands = std::make_unique<KeyboardTimingCommands>(m_document, m_table, statusBar());
    KeyboardTimingCommands *commands = m_timingCommands.get();
    m_needsVideoAndTarget << addAction(menu, QT_TR_NOOP("Set Start Time from Video"), QKeySequence(Qt::CTRL | Qt::Key_BracketLeft),
                                       [commands] { commands->setStartFromVideo(); });
    m_needsVideoAndTarget << addAction(menu, QT_TR_NOOP("Set End Time from Video"), QKeySequence(Qt::CTRL | Qt::Key_BracketRight),
                                       [commands] { commands->setEndFromVideo(); });
    QMenu *nudges = menu->addMenu(tr("Nudge"));
    struct Nudge
    {
        const char *name;
        TimingNudge::Edge edge;
        int direction;
        int frames; // 0: a tenth of a second
        Qt::Key key;
    };
    static const Nudge table[] = {
        {QT_TR_NOOP("Start Earlier by a Frame"), TimingNudge::Edge::Start, -1, 1, Qt::Key_Q},
        {QT_TR_NOOP("Start Later by a Frame"), TimingNudge::Edge::Start, 1, 1, Qt::Key_W},
        {QT_TR_NOOP("End Earlier by a Frame"), TimingNudge::Edge::End, -1, 1, Qt::Key_A},
        {QT_TR_NOOP("End Later by a Frame"), TimingNudge::Edge::End, 1, 1, Qt::Key_S},
        {QT_TR_NOOP("Subtitle Earlier by a Frame"), TimingNudge::Edge::Both, -1, 1, Qt::Key_Z},
        {QT_TR_NOOP("Subtitle Later by a Frame"), TimingNudge::Edge::Both, 1, 1, Qt::Key_X},
        {QT_TR_NOOP("Start Earlier by 100 ms"), TimingNudge::Edge::Start, -1, 0, Qt::Key_Q},
        {QT_TR_NOOP("Start Later by 100 ms"), TimingNudge::Edge::Start, 1, 0, Qt::Key_W},
        {QT_TR_NOOP("End Earlier by 100 ms"), TimingNudge::Edge::End, -1, 0, Qt::Key_A},
        {QT_TR_NOOP("End Later by 100 ms"), TimingNudge::Edge::End, 1, 0, Qt::Key_S},
        {QT_TR_NOOP("Subtitle Earlier by 100 ms"), TimingNudge::Edge::Both, -1, 0, Qt::Key_Z},
        {QT_TR_NOOP("Subtitle Later by 100 ms"), TimingNudge::Edge::Both, 1, 0, Qt::Key_X},
    };
    for (const Nudge &nudge : table) {
        if (&nudge == &table[6])
            nudges->addSeparator();
        const QKeySequence keys(nudge.frames > 0 ? Qt::ALT | nudge.key : Qt::ALT | Qt::SHIFT | nudge.key);
        m_needsTargets << addAction(nudges, nudge.name, keys, [commands, nudge] {
            commands->nudge(nudge.edge, nudge.frames, nudge.direction, tr(nudge.name));
        });
    }
    // Insert is no key of the text editors: it adds a subtitle from the text being typed too.
    m_needsVideo << addAction(menu, QT_TR_NOOP("Insert Subtitle at Cursor"), QKeySequence(Qt::Key_Insert),
                              [commands] { commands->insertAtCursor(); });
    m_needsTargets << addAction(menu, QT_TR_NOOP("Chain Subtitles"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_J),
                                [commands] { commands->chainGaps(); });
}

// Next to the shot changes' Alt with the arrows: with Shift for subtitle edges, up and
// down for speech.
void DocumentWindow::addEdgeStepCommands(QMenu *menu)
{
    VideoPlayerViewController *player = m_player;
    m_needsVideo << addAction(menu, QT_TR_NOOP("Next Subtitle Edge"), QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Right),
                              [player] { player->goToNextSubtitleEdge(); });
    m_needsVideo << addAction(menu, QT_TR_NOOP("Previous Subtitle Edge"), QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Left),
                              [player] { player->goToPreviousSubtitleEdge(); });
    m_needsSpeech << addAction(menu, QT_TR_NOOP("Next Speech Edge"), QKeySequence(Qt::ALT | Qt::Key_Down),
                               [player] { player->goToNextSpeechEdge(); });
    m_needsSpeech << addAction(menu, QT_TR_NOOP("Previous Speech Edge"), QKeySequence(Qt::ALT | Qt::Key_Up),
                               [player] { player->goToPreviousSpeechEdge(); });
}

void DocumentWindow::addTimingAndTextCommands(QMenu *menu)
{
    SubtitlesTableViewController *table = m_table;
    m_mergeAction = addAction(menu, QT_TR_NOOP("Merge Subtitle&s"), QKeySequence(Qt::CTRL | Qt::Key_M), [table] { table->mergeSubtitles(); });
    addAction(menu, QT_TR_NOOP("I&talic"), QKeySequence::Italic, [table] { table->toggleItalic(); });
    menu->addSeparator();
    addAction(menu, QT_TR_NOOP("S&hift Times…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
              [this] { ShiftTimesDialog(m_document, this).exec(); });
    addAction(menu, QT_TR_NOOP("S&ynchronise by Two Points…"), {}, [this] { SynchronizeDialog(m_document, this).exec(); });
    addAction(menu, QT_TR_NOOP("Change Fra&me Rate…"), {}, [this] { FrameRateDialog(m_document, this).exec(); });
    addSpeechCommands(menu);
    menu->addSeparator();
    addAction(menu, QT_TR_NOOP("&Find…"), QKeySequence::Find, [this] { FindReplaceDialog::open(m_document, this); });
    addAction(menu, QT_TR_NOOP("Replace…"), QKeySequence(Qt::CTRL | Qt::Key_H),
              [this] { FindReplaceDialog::open(m_document, this); });
    addAction(menu, QT_TR_NOOP("Find &Next"), QKeySequence(Qt::Key_F3),
              [this] { FindReplaceDialog::open(m_document, this)->findNext(); });
    addAction(menu, QT_TR_NOOP("Find Pre&vious"), QKeySequence(Qt::SHIFT | Qt::Key_F3),
              [this] { FindReplaceDialog::open(m_document, this)->findPrevious(); });
    menu->addSeparator();
}

// Speech is found in the background once a video's sound is read: the commands wait for it.
void DocumentWindow::addSpeechCommands(QMenu *menu)
{
    menu->addSeparator();
    m_speechCommands = std::make_unique<SpeechTimingCommands>(m_document, m_media, m_table, this, statusBar());
    SpeechTimingCommands *commands = m_speechCommands.get();
    m_needsSpeech << addAction(menu, QT_TR_NOOP("Snap to Spee&ch"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S),
                               [commands] { commands->snapToSpeech(); });
    m_needsSpeech << addAction(menu, QT_TR_NOOP("Synchronise &with Sound…"), {}, [commands] { commands->synchroniseWithSound(); });
    m_needsSpeech << addAction(menu, QT_TR_NOOP("Subtitles from Speec&h"), {}, [commands] { commands->makeSubtitlesFromSpeech(); });
}

void DocumentWindow::addTimingWhilePlayingCommands(QMenu *menu)
{
    menu->addSeparator();
    m_needsVideoAndTarget << addAction(menu, QT_TR_NOOP("Play Selected S&ubtitle"), QKeySequence(Qt::Key_P),
                                       [this] { playSelectedSubtitle(PlayPart::Subtitle); });
    m_needsVideoAndTarget << addAction(menu, QT_TR_NOOP("Play Half a Second Bef&ore It"), QKeySequence(Qt::SHIFT | Qt::Key_P),
                                       [this] { playSelectedSubtitle(PlayPart::BeforeStart); });
    m_needsVideoAndTarget << addAction(menu, QT_TR_NOOP("Play Half a Second &After It"), QKeySequence(Qt::CTRL | Qt::Key_P),
                                       [this] { playSelectedSubtitle(PlayPart::AfterEnd); });
    m_needsVideoAndTarget << addAction(menu, QT_TR_NOOP("Set End and Start Ne&xt"), QKeySequence(Qt::CTRL | Qt::Key_Backslash),
                                       [this] { m_timingCommands->setEndAndStartNext(); });
}

void DocumentWindow::playSelectedSubtitle(PlayPart part)
{
    const IndexSet targets = m_table->targetRowIndexes();
    if (targets.isEmpty())
        return;
    const SubtitlePtr subtitle = m_document->subtitleController().at(targets.first());
    constexpr double margin = 0.5;
    if (part == PlayPart::Subtitle)
        m_player->playRange(subtitle->start, subtitle->end);
    else if (part == PlayPart::BeforeStart)
        m_player->playRange(subtitle->start - margin, subtitle->start);
    else
        m_player->playRange(subtitle->end, subtitle->end + margin);
}

QVariantMap DocumentWindow::saveState() const
{
    QVariantMap state = m_panes->saveState();
    state.insert(QStringLiteral("geometry"), saveGeometry());
    state.insert(QStringLiteral("splitter"), m_verticalSplitter->saveState());
    state.insert(QStringLiteral("topSplitter"), m_topSplitter->saveState());
    state.insert(QStringLiteral("listSplitter"), m_listSplitter->saveState());
    return state;
}

void DocumentWindow::restoreState(const QVariantMap &storedState)
{
    const QVariantMap state = Preferences::checkedWindowState(storedState);
    restoreGeometry(state.value(QStringLiteral("geometry")).toByteArray());
    WindowPlacement::fitOnScreen(this);
    m_verticalSplitter->restoreState(state.value(QStringLiteral("splitter")).toByteArray());
    m_topSplitter->restoreState(state.value(QStringLiteral("topSplitter")).toByteArray());
    m_listSplitter->restoreState(state.value(QStringLiteral("listSplitter")).toByteArray());
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
