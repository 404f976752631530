#pragma once

#include <QDeadlineTimer>
#include <QMainWindow>

#include <initializer_list>
#include <memory>

class CommandRegistry;
struct CommandContext;
class Document;
class DocumentController;
class MediaSession;
class DocumentPanes;
class KeyboardTimingCommands;
class ProblemsPanel;
class SpeechAlignmentCommand;
class SpeechTimingCommands;
class TranslationCommands;
class SubtitlesTableViewController;
class TimelineViewController;
class VideoPlayerViewController;
class QAction;
class QDockWidget;
class QMenu;
class WindowLayout;

// The window of one document: the video player and the subtitle list side by side over
// the timeline with the waveform, full width; and the menus. The controller owns it with
// its document, which outlives it; closing it asks the controller to close the document.
class DocumentWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Shows the document and what `media` finds in its video; both outlive the window.
    DocumentWindow(Document *document, MediaSession *media, DocumentController &controller);
    ~DocumentWindow() override;

    Document *document() const { return m_document; }
    MediaSession *media() const { return m_media; }
    VideoPlayerViewController *videoPlayerViewController() const { return m_player; }
    // Where this window's file dialogs start: beside its file or its video (DialogFolder).
    QString dialogFolder() const;
    SubtitlesTableViewController *subtitlesTableViewController() const { return m_table; }
    TimelineViewController *timelineViewController() const { return m_timeline; }
    DocumentPanes *panes() const { return m_panes; }
    ProblemsPanel *problemsPanel() const { return m_problems; }
    TranslationCommands *translationCommands() const { return m_translation; }
    KeyboardTimingCommands *keyboardTimingCommands() const { return m_timingCommands.get(); }
    SpeechTimingCommands *speechTimingCommands() const { return m_speechCommands.get(); }
    SpeechAlignmentCommand *speechAlignment() const { return m_alignment.get(); }
    DocumentController &controller() const { return m_controller; }
    CommandRegistry *commands() const { return m_commands; }

    // Geometry, splitter sizes and the restorable state of the document and its panes.
    QVariantMap saveState() const;
    // Stored values that no window can take are left out; the window fits the screen.
    void restoreState(const QVariantMap &storedState);
    // The panes as a new window has them; the next new window starts so too.
    void resetLayout();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildPanes();
    void buildShotChangeProgress();
    // A message for the user to read (a profile gone, or chosen for the film's rate):
    // progress messages wait until its time is up.
    void showNotice(const QString &message);
    void buildMenus();
    void buildFileMenu();
    void buildEditMenu();
    void buildViewMenu();
    void addTimeFormCommands(QMenu *menu);
    void buildPlaybackMenu();
    void addSoundViewCommands(QMenu *menu);
    // A checkable command that shows and sets a setting of every window.
    void addSettingCommand(QMenu *menu, const char *id, bool (*get)(), void (*set)(bool));
    // Adds the commands' actions in order; an empty id is a separator.
    void addCommands(QMenu *menu, std::initializer_list<const char *> ids);
    QAction *command(const char *id) const;
    void updateTitle();
    void updateUndoActions();
    CommandContext commandContext() const;
    void updateActionStates();
    void rebuildRecentMenu();

    Document *m_document;
    MediaSession *m_media;
    DocumentController &m_controller;
    DocumentPanes *m_panes = nullptr;
    std::unique_ptr<WindowLayout> m_layout;
    QMenu *m_recentMenu = nullptr;
    VideoPlayerViewController *m_player = nullptr;
    SubtitlesTableViewController *m_table = nullptr;
    TimelineViewController *m_timeline = nullptr;
    ProblemsPanel *m_problems = nullptr;
    TranslationCommands *m_translation = nullptr;
    QDockWidget *m_problemsDock = nullptr;
    std::unique_ptr<SpeechTimingCommands> m_speechCommands;
    std::unique_ptr<SpeechAlignmentCommand> m_alignment;
    std::unique_ptr<KeyboardTimingCommands> m_timingCommands;
    CommandRegistry *m_commands = nullptr;
    // Receives what the document and the panes report. A member, so that those
    // connections end with the window's own members, before Qt takes the panes down
    // (a player closing tells the document, which would tell a half-destroyed window).
    QDeadlineTimer m_noticeShown;
    QObject m_listener;
};
