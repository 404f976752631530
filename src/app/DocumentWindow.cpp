#include "app/DocumentWindow.h"

#include "app/Document.h"
#include "app/DocumentController.h"
#include "player/Player.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QVBoxLayout>

DocumentWindow::DocumentWindow(Document *document)
    : m_document(document)
{
    setAttribute(Qt::WA_DeleteOnClose);
    resize(1280, 800);
    buildPanes();
    buildMenus();
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
}

DocumentWindow::~DocumentWindow() = default;

void DocumentWindow::buildPanes()
{
    auto placeholder = [](const QString &text) {
        auto *label = new QLabel(text);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::StyledPanel);
        return label;
    };
    m_topSplitter = new QSplitter(Qt::Horizontal);
    m_topSplitter->addWidget(placeholder(tr("Video")));
    m_topSplitter->addWidget(placeholder(tr("Subtitles")));
    m_topSplitter->setStretchFactor(0, 1);
    m_topSplitter->setStretchFactor(1, 1);

    m_verticalSplitter = new QSplitter(Qt::Vertical);
    m_verticalSplitter->addWidget(m_topSplitter);
    m_verticalSplitter->addWidget(placeholder(tr("Timeline")));
    m_verticalSplitter->setStretchFactor(0, 3);
    m_verticalSplitter->setStretchFactor(1, 1);
    setCentralWidget(m_verticalSplitter);
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
    menu->addSeparator();
    addAction(menu, tr("&Close"), QKeySequence::Close, [this] { close(); });
    addAction(menu, tr("&Save"), QKeySequence::Save, [this, controller] { controller->save(m_document); });
    addAction(menu, tr("Save &As…"), QKeySequence::SaveAs, [this, controller] { controller->saveAs(m_document); });
    m_revertAction = addAction(menu, tr("Re&vert to Saved"), {}, [this, controller] { controller->revertToSaved(m_document); });
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
    connect(menu, &QMenu::aboutToShow, this, &DocumentWindow::updateActionStates);
}

void DocumentWindow::buildViewMenu()
{
    menuBar()->addMenu(tr("&View"));
}

void DocumentWindow::buildPlaybackMenu()
{
    menuBar()->addMenu(tr("&Playback"));
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
}

QVariantMap DocumentWindow::saveState() const
{
    QVariantMap state = m_document->restorableState();
    state.insert(QStringLiteral("geometry"), saveGeometry());
    state.insert(QStringLiteral("splitter"), m_verticalSplitter->saveState());
    state.insert(QStringLiteral("topSplitter"), m_topSplitter->saveState());
    return state;
}

void DocumentWindow::restoreState(const QVariantMap &state)
{
    restoreGeometry(state.value(QStringLiteral("geometry")).toByteArray());
    m_verticalSplitter->restoreState(state.value(QStringLiteral("splitter")).toByteArray());
    m_topSplitter->restoreState(state.value(QStringLiteral("topSplitter")).toByteArray());
    m_document->restoreState(state);
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
