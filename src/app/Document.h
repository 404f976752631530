#pragma once

#include "model/IndexSet.h"
#include "model/SubtitleController.h"
#include "model/SubtitleControllerDelegate.h"
#include "model/UndoManager.h"

#include <QObject>
#include <QPointer>
#include <QVariantMap>

#include <optional>

class DocumentWindow;
class Player;
class SubtitlesTableViewController;
class TimelineViewController;
class VideoPlayerViewController;

// One subtitle file and the hub of its window: owns the subtitle controller, holds the
// selection shared by the panes, and passes every change of the list on to the panes.
//
// Panes take the document in their constructor, register themselves with the matching
// setter, and connect to the signals below. They never change the list themselves: they
// call subtitleController(), and change the selection only through
// setSelectedSubtitleIndexes().
class Document : public QObject, public SubtitleControllerDelegate
{
    Q_OBJECT

public:
    explicit Document(QObject *parent = nullptr);
    ~Document() override;

    // The file, or empty for an untitled document.
    QString filePath() const { return m_filePath; }
    void setFilePath(const QString &path);
    // The file's name, or "Untitled" (numbered when there are several).
    QString displayName() const;
    void setUntitledNumber(int number) { m_untitledNumber = number; }
    // The encoding detected when the file was read; used first when saving.
    std::optional<int> encoding() const { return m_encoding; }
    bool isModified() const { return !m_undoManager.isClean(); }

    enum class ReadMode { Replace, Undoable };
    // Reads a file into the list (not undoable unless asked: a reload over the user's
    // work). On failure the list is left as it was and the user's message comes back.
    std::optional<QString> read(const QString &path, ReadMode mode = ReadMode::Replace);
    // Reads unsaved work kept for recovery (UTF-8), for a document whose file had
    // `encoding`.
    std::optional<QString> readRecovered(const QString &path, std::optional<int> encoding);
    // Writes the list atomically. `chosenEncoding` is the Save dialog's choice, which
    // wins for this save and becomes the document's encoding.
    std::optional<QString> write(const QString &path, std::optional<int> chosenEncoding = std::nullopt);
    int encodingForSaving(std::optional<int> chosenEncoding = std::nullopt) const;

    // Attaches the controller's delegate and undo manager, then makes the window.
    DocumentWindow *makeWindow();
    DocumentWindow *window() const;

    // The menu actions that act across the panes.
    void openVideo(QWidget *dialogParent);
    void editDisplayedSubtitle();
    void setSubtitleStartTimeFromVideoPlayer();
    void setSubtitleEndTimeFromVideoPlayer();
    bool canEditDisplayedSubtitle() const;
    bool canSetSubtitleTimeFromVideoPlayer() const;

    // What the window remembers across a restart ("selectedIndex" and the panes' keys).
    QVariantMap restorableState() const;
    void restoreState(const QVariantMap &state);

    SubtitleController &subtitleController() { return m_subtitleController; }
    UndoManager &undoManager() { return m_undoManager; }

    const IndexSet &selectedSubtitleIndexes() const { return m_selectedSubtitleIndexes; }
    void setSelectedSubtitleIndexes(const IndexSet &indexes);
    // Brings one subtitle into view in the panes that are not making the selection
    // themselves, and seeks a paused video to it.
    void showSubtitle(int index);

    SubtitlesTableViewController *subtitlesTableViewController() const { return m_subtitlesTableViewController; }
    void setSubtitlesTableViewController(SubtitlesTableViewController *controller);
    TimelineViewController *timelineViewController() const { return m_timelineViewController; }
    void setTimelineViewController(TimelineViewController *controller);
    VideoPlayerViewController *videoPlayerViewController() const { return m_videoPlayerViewController; }
    void setVideoPlayerViewController(VideoPlayerViewController *controller);
    // The player of the loaded video, or nullptr before a video is loaded. Set by the
    // video player controller for each video it loads.
    Player *player() const { return m_player; }
    void setPlayer(Player *player);

    // SubtitleControllerDelegate
    void didReloadSubtitles(SubtitleController &controller) override;
    void didUpdateSubtitles(SubtitleController &controller, const IndexSet &indexes,
                            const QList<SubtitleIndexUpdate> &indexUpdates,
                            const IndexSet &newIndexes) override;
    void didInsertSubtitles(SubtitleController &controller, const IndexSet &indexes) override;
    void didRemoveSubtitles(SubtitleController &controller, const SubtitleList &subtitles,
                            const IndexSet &indexes) override;

signals:
    // The list changes, in the order the panes must apply them; each is followed by the
    // selection moving to what changed.
    void subtitlesReloaded();
    void subtitlesInserted(const IndexSet &indexes);
    void subtitlesRemoved(const SubtitleList &subtitles, const IndexSet &indexes);
    void subtitlesUpdated(const IndexSet &indexes, const QList<SubtitleIndexUpdate> &indexUpdates,
                          const IndexSet &newIndexes);
    // The selection changed; panes select exactly `selection`.
    void selectionChanged(const IndexSet &selection, const IndexSet &previous);
    // Panes scroll the subtitle into view unless they made the selection themselves.
    void showSubtitleRequested(int index);
    void playerChanged(Player *player);
    void filePathChanged();
    // The restorable state changed (the selection moved, a video was loaded, ...).
    void restorableStateChanged();

private:
    // The playback position, on a frame when the video's frame rate is known.
    std::optional<double> playerTimeOnFrame() const;

    SubtitleController m_subtitleController;
    UndoManager m_undoManager;
    IndexSet m_selectedSubtitleIndexes;
    SubtitlesTableViewController *m_subtitlesTableViewController = nullptr;
    TimelineViewController *m_timelineViewController = nullptr;
    VideoPlayerViewController *m_videoPlayerViewController = nullptr;
    Player *m_player = nullptr;
    QString m_filePath;
    int m_untitledNumber = 1;
    std::optional<int> m_encoding;
    QPointer<DocumentWindow> m_window;
};
