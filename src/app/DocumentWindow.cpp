#include "app/DocumentWindow.h"

#include "document/Document.h"
#include "app/DocumentController.h"
#include "app/DocumentFormatLabel.h"
#include "app/DocumentPanes.h"
#include "app/ReopenWithEncodingMenu.h"
#include "app/HelpMenu.h"
#include "document/Preferences.h"
#include "app/WindowPlacement.h"
#include "list/SubtitlesTableViewController.h"
#include "panels/GoToSubtitleViewController.h"
#include "panels/ImportSubtitlesViewController.h"
#include "document/Player.h"
#include "player/VideoPlayerViewController.h"
#include "timeline/TimelineViewController.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

DocumentWindow::DocumentWindow(Document *document)
    : m_document(document)
{
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1280, 800);
    buildPanes();
    buildMenus();
    statusBar()->addPermanentWidget(new DocumentFormatLabel(document));
    setAcceptDrops(false);
    updateTitle();
    updateUndoActions();
    updateActionStates();

    connect(document, &Document::filePathChanged, this, &DocumentWindow::updateTitle);
    connect(&document->undoManager(), &UndoManager::stateChanged, this, [this] {
        updateUndoActions();
        setWindowModified(m_document->isModified());
    });
    connect(document, &Document::selectionChanged, this, &DocumentWindow::updateActionStates);
    connect(document, &Document::playerChanged, this, &DocumentWindow::updateActionStates);
    // What the commands act on can change without the selection moving.
    connect(document, &Document::subtitlesReloaded, this, &DocumentWindow::updateActionStates);
    connect(document, &Document::subtitlesInserted, this, &DocumentWindow::updateActionStates);
    connect(document, &Document::subtitlesRemoved, this, &DocumentWindow::updateActionStates);
    connect(document, &Document::subtitlesUpdated, this, &DocumentWindow::updateActionStates);
}

DocumentWindow::~DocumentWindow() = default;

void DocumentWindow::buildPanes()
{
    m_panes = new DocumentPanes(m_document, this);
    m_player = m_panes->player();
    m_table = m_panes->table();
    m_timeline = m_panes->timeline();
    connect(m_panes, &DocumentPanes::commandStateChanged, this, &DocumentWindow::updateActionStates);

    m_topSplitter = new QSplitter(Qt::Horizontal);
    m_topSplitter->addWidget(m_player);
    m_topSplitter->addWidget(m_table);
    m_topSplitter->setStretchFactor(0, 1);
    m_topSplitter->setStretchFactor(1, 1);
    m_topSplitter->setChildrenCollapsible(false);

    m_verticalSplitter = new QSplitter(Qt::Vertical);
    m_verticalSplitter->addWidget(m_topSplitter);
    m_verticalSplitter->addWidget(m_timeline);
    m_verticalSplitter->setStretchFactor(0, 3);
    m_verticalSplitter->setStretchFactor(1, 2);
    m_verticalSplitter->setChildrenCollapsible(false);
    setCentralWidget(m_verticalSplitter);
    m_table->setFocus();
}

QAction *DocumentWindow::addAction(QMenu *menu, const QString &text, const QKeySequence &shortcut,
                                   std::function<void()> slot)
{
    QAction *action = menu->addAction(text);
    action->setShortcut(shortcut);
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
    DocumentController *controller = DocumentController::shared();
    QMenu *menu = menuBar()->addMenu(tr("&File"));
    addAction(menu, tr("&New"), QKeySequence::New, [controller] { controller->newDocument(); });
    addAction(menu, tr("&Open…"), QKeySequence::Open, [this, controller] { controller->showOpenDialog(this); });
    m_recentMenu = menu->addMenu(tr("Open &Recent"));
    rebuildRecentMenu();
    connect(controller, &DocumentController::recentFilesChanged, this, &DocumentWindow::rebuildRecentMenu);
    addAction(menu, tr("Open &Video…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
              [this] { m_panes->openVideo(this); });
    menu->addSeparator();
    addAction(menu, tr("&Close"), QKeySequence::Close, [this] { close(); });
    addAction(menu, tr("&Save"), QKeySequence::Save, [this, controller] { controller->save(m_document); });
    addAction(menu, tr("Save &As…"), QKeySequence::SaveAs, [this, controller] { controller->saveAs(m_document); });
    m_revertAction = addAction(menu, tr("Rever&t to Saved"), {}, [this, controller] { controller->revertToSaved(m_document); });
    menu->addMenu(new ReopenWithEncodingMenu(m_document, menu));
    connect(menu, &QMenu::aboutToShow, this, [this] {
        m_revertAction->setEnabled(!m_document->filePath().isEmpty() && m_document->isModified());
    });
    menu->addSeparator();
    QAction *quit = addAction(menu, tr("&Quit"), QKeySequence::Quit, [controller] { controller->quit(); });
    quit->setMenuRole(QAction::QuitRole);
}

void DocumentWindow::rebuildRecentMenu()
{
    m_recentMenu->clear();
    DocumentController *controller = DocumentController::shared();
    const QStringList recent = controller->recentFiles();
    for (const QString &path : recent) {
        QAction *action = m_recentMenu->addAction(QFileInfo(path).fileName());
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, controller, path] { controller->openDocument(path, this); });
    }
    if (!recent.isEmpty())
        m_recentMenu->addSeparator();
    QAction *clear = m_recentMenu->addAction(tr("Clear Menu"));
    clear->setEnabled(!recent.isEmpty());
    connect(clear, &QAction::triggered, controller, &DocumentController::clearRecentFiles);
}

void DocumentWindow::buildEditMenu()
{
    QMenu *menu = menuBar()->addMenu(tr("&Edit"));
    m_undoAction = addAction(menu, tr("&Undo"), QKeySequence::Undo, [this] { m_document->undoManager().undo(); });
    m_redoAction = addAction(menu, tr("&Redo"), QKeySequence::Redo, [this] { m_document->undoManager().redo(); });
    menu->addSeparator();
    SubtitlesTableViewController *table = m_table;
    m_copyAction = addAction(menu, tr("&Copy"), QKeySequence::Copy, [table] { table->copy(); });
    m_pasteAction = addAction(menu, tr("&Paste"), QKeySequence::Paste, [table] { table->paste(); });
    m_deleteAction = addAction(menu, tr("&Delete"), QKeySequence::Delete, [table] { table->deleteSubtitles(); });
    addAction(menu, tr("Select &All"), QKeySequence::SelectAll, [table] { table->selectAll(); });
    menu->addSeparator();
    m_addAction = addAction(menu, tr("Add Subtitle"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N),
                            [table] { table->addSubtitle(); });
    m_duplicateAction = addAction(menu, tr("Duplicate Subtitle"), QKeySequence(Qt::CTRL | Qt::Key_D),
                                  [table] { table->duplicateSubtitle(); });
    // Ctrl+K belongs to text editors (delete to the end of the line); a shortcut with Alt
    // reaches the menu while the text is being edited, which is when Split works.
    m_splitAction = addAction(menu, tr("Split Subtitle at Text Cursor"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_K),
                              [table] { table->splitSubtitle(); });
    m_splitAction->setToolTip(tr("Splits the subtitle whose text is being edited where the text cursor is"));
    m_splitAction->setStatusTip(m_splitAction->toolTip());
    menu->addSeparator();
    addAction(menu, tr("&Import Subtitles…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I),
              [this] { ImportSubtitlesViewController::run(m_document, this); });
    addAction(menu, tr("&Go to Subtitle…"), QKeySequence(Qt::CTRL | Qt::Key_G),
              [this] { GoToSubtitleViewController::open(m_document, this); });
    m_editDisplayedAction = addAction(menu, tr("Edit Displayed Subtitle"), QKeySequence(Qt::CTRL | Qt::Key_E),
                                      [this] { m_panes->editDisplayedSubtitle(); });
    m_setStartAction = addAction(menu, tr("Set Start Time from Video"), QKeySequence(Qt::CTRL | Qt::Key_BracketLeft),
                                 [this] { m_panes->setSubtitleStartTimeFromVideoPlayer(); });
    m_setEndAction = addAction(menu, tr("Set End Time from Video"), QKeySequence(Qt::CTRL | Qt::Key_BracketRight),
                               [this] { m_panes->setSubtitleEndTimeFromVideoPlayer(); });
    menu->setToolTipsVisible(true);
    m_editMenu = menu;
    connect(menu, &QMenu::aboutToShow, this, &DocumentWindow::updateActionStates);
}

void DocumentWindow::buildViewMenu()
{
    QMenu *menu = menuBar()->addMenu(tr("&View"));
    TimelineViewController *timeline = m_timeline;
    addAction(menu, tr("Zoom &In"), QKeySequence::ZoomIn, [timeline] { timeline->zoomIn(); });
    addAction(menu, tr("Zoom &Out"), QKeySequence::ZoomOut, [timeline] { timeline->zoomOut(); });
    addAction(menu, tr("Zoom to &Fit"), QKeySequence(Qt::CTRL | Qt::Key_0), [timeline] { timeline->zoomToFit(); });
}

void DocumentWindow::buildPlaybackMenu()
{
    QMenu *menu = menuBar()->addMenu(tr("&Playback"));
    VideoPlayerViewController *player = m_player;
    // Single keys, as in video editors; text fields keep them while typing.
    m_needsVideo << addAction(menu, tr("&Play/Pause"), QKeySequence(Qt::Key_Space), [player] { player->playPause(); });
    m_needsVideo << addAction(menu, tr("Play &Backward"), QKeySequence(Qt::Key_J), [player] { player->shuttleBackward(); });
    m_needsVideo << addAction(menu, tr("&Stop"), QKeySequence(Qt::Key_K), [player] { player->shuttleStop(); });
    m_needsVideo << addAction(menu, tr("Play &Forward"), QKeySequence(Qt::Key_L), [player] { player->shuttleForward(); });
    menu->addSeparator();
    m_needsVideo << addAction(menu, tr("&Next Frame"), QKeySequence(Qt::CTRL | Qt::Key_Right), [player] { player->stepForward(); });
    m_needsVideo << addAction(menu, tr("Previous F&rame"), QKeySequence(Qt::CTRL | Qt::Key_Left), [player] { player->stepBackward(); });
    connect(menu, &QMenu::aboutToShow, this, &DocumentWindow::updateActionStates);
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
    const bool canSetTime = m_panes->canSetSubtitleTimeFromVideoPlayer();
    m_setStartAction->setEnabled(canSetTime);
    m_setEndAction->setEnabled(canSetTime);
    for (QAction *action : std::as_const(m_needsVideo))
        action->setEnabled(m_document->player() != nullptr);
}

QVariantMap DocumentWindow::saveState() const
{
    QVariantMap state = m_panes->saveState();
    state.insert(QStringLiteral("geometry"), saveGeometry());
    state.insert(QStringLiteral("splitter"), m_verticalSplitter->saveState());
    state.insert(QStringLiteral("topSplitter"), m_topSplitter->saveState());
    return state;
}

void DocumentWindow::restoreState(const QVariantMap &storedState)
{
    const QVariantMap state = Preferences::checkedWindowState(storedState);
    restoreGeometry(state.value(QStringLiteral("geometry")).toByteArray());
    WindowPlacement::fitOnScreen(this);
    m_verticalSplitter->restoreState(state.value(QStringLiteral("splitter")).toByteArray());
    m_topSplitter->restoreState(state.value(QStringLiteral("topSplitter")).toByteArray());
    m_panes->restoreState(state);
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    DocumentController *controller = DocumentController::shared();
    if (!controller->isQuitting() && !controller->canClose(m_document)) {
        event->ignore();
        return;
    }
    event->accept();
    controller->documentClosed(m_document);
}

void DocumentWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
}
