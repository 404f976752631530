#pragma once

#include "document/OriginalSubtitles.h"
#include "document/Player.h"
#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"
#include "format/TimeDisplay.h"
#include "model/IndexSet.h"
#include "model/quality/ProblemIndex.h"
#include "model/quality/QualityProfile.h"
#include "model/SubtitleController.h"
#include "model/SubtitleControllerDelegate.h"
#include "model/UndoManager.h"

#include <QObject>
#include <QPointer>
#include <QVariantMap>

#include <optional>

// One subtitle file and the hub of its panes: owns the subtitle controller, holds the
// selection shared by the panes, and passes every change of the list on through its
// signals. It knows no pane: panes take the document in their constructor and connect to
// the signals below. They never change the list themselves: they call
// subtitleController(), and change the selection only through setSelectedSubtitleIndexes().
// What is found in its video (shot changes, speech, the sound) is the media session's.
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
    // The encoding the file was read or last saved with: saving, reverting, recovering
    // and the next session use it. Absent for a new document.
    std::optional<int> encoding() const { return m_encoding; }
    // When the last read guessed the encoding unsurely: the encodings it weighed, the one
    // read with first. Empty otherwise, and once the document is saved in another one.
    const QList<TextEncoding::Considered> &consideredEncodings() const { return m_consideredEncodings; }
    // The user found the guessed encoding right: it is no longer in doubt.
    void acceptEncoding();
    // The file's line endings and byte-order mark, kept when saving.
    const TextFileFormat &fileFormat() const { return m_fileFormat; }
    // The subtitle format the file was read or last saved in (SRT for a new document), and
    // what the file held beyond the subtitles, which saving in that format writes back.
    SubtitleFormat::Id subtitleFormat() const { return m_subtitleFormat; }
    const FormatKeep *formatKeep() const { return m_formatKeep.get(); }
    // The same, for work that may outlast the document's next file.
    std::shared_ptr<const FormatKeep> sharedFormatKeep() const { return m_formatKeep; }
    bool isModified() const { return !m_undoManager.isClean(); }

    enum class ReadMode { Replace, Undoable };
    // Reads a file into the list, in `encoding` or detecting it; not undoable unless
    // asked (a reload over the user's work). On failure the list is left as it was and
    // the user's message comes back. A repairing read puts what it mended into `repairs`
    // (the first ones) and how many more there were into `unlistedRepairs`.
    Expected<void, QString> read(const QString &path, int encoding = TextEncoding::Automatic,
                                 SubtitleFile::Reading reading = SubtitleFile::Reading::Strict,
                                 QList<TolerantSubtitleReader::Repair> *repairs = nullptr,
                                 ReadMode mode = ReadMode::Replace, qsizetype *unlistedRepairs = nullptr);
    // Takes unsaved work kept for recovery, for a document whose file had `encoding`, was
    // in `subtitleFormat` laid out as `fileFormat`, with what it held beyond the subtitles.
    void setRecovered(SubtitleList subtitles, std::optional<int> encoding,
                      SubtitleFormat::Id subtitleFormat = SubtitleFormat::Srt, std::shared_ptr<const FormatKeep> keep = {},
                      TextFileFormat fileFormat = {});
    // Writes the list atomically. `chosenEncoding` and `chosenFormat` are the Save
    // dialog's choices, which win for this save and become the document's.
    // `chosenSubtitleFormat` is the format a Save As picked, which then becomes the document's.
    Expected<void, QString> write(const QString &path, std::optional<int> chosenEncoding = std::nullopt,
                                  std::optional<TextFileFormat> chosenFormat = std::nullopt,
                                  std::optional<SubtitleFormat::Id> chosenSubtitleFormat = std::nullopt);
    // The encoding a save in `subtitleFormat` (absent: the document's) writes.
    int encodingForSaving(std::optional<int> chosenEncoding = std::nullopt,
                          std::optional<SubtitleFormat::Id> subtitleFormat = std::nullopt) const;

    // Makes itself the controller's delegate and gives it the undo manager: from then on
    // every change of the list is reported and undoable.
    void attachController();

    // What the window remembers across a restart ("selectedIndex" and the panes' keys).
    QVariantMap restorableState() const;
    void restoreState(const QVariantMap &state);

    SubtitleController &subtitleController() { return m_subtitleController; }
    UndoManager &undoManager() { return m_undoManager; }
    // The quality problems of every subtitle, up to date before any pane hears of a change.
    ProblemIndex &problemIndex() { return m_problemIndex; }

    const IndexSet &selectedSubtitleIndexes() const { return m_selectedSubtitleIndexes; }
    void setSelectedSubtitleIndexes(const IndexSet &indexes);
    // Brings one subtitle into view in the panes that are not making the selection
    // themselves, and asks for a paused video to be sought to it.
    void showSubtitle(int index);
    // Off while a pane makes a selection that must leave the video where it is (a drag
    // on the timeline).
    void setSelectionSeeksVideo(bool seeks) { m_selectionSeeksVideo = seeks; }

    // The player of the loaded video, or nullptr before a video is loaded. Set by the
    // video player controller for each video it loads.
    Player *player() const { return m_player; }
    void setPlayer(Player *player);

    // Frames per second of the subtitles' video: the loaded video's, or with none the rate
    // the user converted the timing to, or 0 while unknown. The one owner of the rate: the
    // controller and the problem index take it from here, the panes hear frameRateChanged.
    double frameRate() const { return m_frameRate; }
    // A rate that is not a positive number means unknown.
    void setFrameRate(double frameRate);
    // The rate the attached film tells (found by its media session): the document's rate
    // from then on, winning over a restored one and over the rate a conversion chose.
    void setVideoFrameRate(double frameRate);
    bool hasVideoFrameRate() const { return m_videoTellsFrameRate; }

    // How the panes write and read times: the user's form at this document's frame rate,
    // with its timecode offset. The panes hear timeDisplayChanged when any of them changes.
    TimeDisplay timeDisplay() const;
    // Where the video's timecode starts (10:00:00:00 for many films), in seconds: shown
    // and typed times have it added. Kept with the window's state, never in the file.
    double timecodeOffset() const { return m_timecodeOffset; }
    void setTimecodeOffset(double seconds);

    // The quality profile the subtitles are checked by, at the limits it gives for the
    // document's language. A new document takes the user's default profile; one whose
    // profile has gone takes the default, and says so through qualityProfileMissing.
    // Until the user chooses one for the document, a built-in follows the frame rate to the
    // same rules at that rate, and says so through qualityProfileFollowedFrameRate.
    QString qualityProfileId() const { return m_qualityProfile.id; }
    QString qualityProfileName() const { return m_qualityProfile.name; }
    // The user's choice for this document, kept whatever the rate.
    void setQualityProfile(const QString &id);
    bool isQualityProfileChosen() const { return m_qualityProfileChosen; }
    // The language the text is written in ("pt_BR"; empty when unknown): the spelling
    // language chosen for the document.
    QString language() const { return m_language; }
    void setLanguage(const QString &language);

    // The original this document translates, shown beside it and checked against; part
    // of the restorable state, never of the file.
    OriginalSubtitles &originalSubtitles() { return m_original; }
    const OriginalSubtitles &originalSubtitles() const { return m_original; }

    // SubtitleControllerDelegate
    void didReloadSubtitles(SubtitleController &controller) override;
    void didUpdateSubtitles(SubtitleController &controller, const IndexSet &indexes,
                            const QList<SubtitleIndexUpdate> &indexUpdates,
                            const IndexSet &newIndexes) override;
    void didReorderSubtitles(SubtitleController &controller, const IndexSet &indexes,
                             const std::vector<int> &newPositions, const IndexSet &newIndexes) override;
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
    // An update that put many subtitles in new places at once: the subtitle that stood at
    // position p now stands at newPositions[p].
    void subtitlesReordered(const IndexSet &indexes, const std::vector<int> &newPositions,
                            const IndexSet &newIndexes);
    // After any of the five above, for listeners that only need to know the list changed.
    void subtitlesChanged();
    // The selection changed; panes select exactly `selection`.
    void selectionChanged(const IndexSet &selection, const IndexSet &previous);
    // Panes scroll the subtitle into view unless they made the selection themselves.
    void showSubtitleRequested(int index);
    // A paused video goes to this time (a newly selected subtitle's start).
    void seekPausedVideoRequested(double time);
    void playerChanged(Player *player);
    void frameRateChanged(double frameRate);
    void timeDisplayChanged();
    void filePathChanged();
    // The encoding or the file format changed (read, reopened, saved in another one).
    void encodingChanged();
    void qualityProfileChanged();
    void qualityProfileMissing(const QString &message);
    void qualityProfileFollowedFrameRate(const QString &message);
    // The restorable state changed (the selection moved, a video was loaded, ...).
    void restorableStateChanged();

private:
    void select(const IndexSet &indexes, bool seeks);
    void seekPausedVideoTo(int index);
    // Selects what an update changed; a selection of the same subtitles does not seek.
    void selectUpdated(const IndexSet &newIndexes, bool keepsSelection);
    void applyQualityProfile();
    void followFrameRate();

    SubtitleController m_subtitleController;
    UndoManager m_undoManager;
    ProblemIndex m_problemIndex{m_subtitleController};
    IndexSet m_selectedSubtitleIndexes;
    QPointer<Player> m_player;
    double m_frameRate = 0;
    bool m_videoTellsFrameRate = false;
    double m_timecodeOffset = 0;
    QString m_filePath;
    int m_untitledNumber = 1;
    std::optional<int> m_encoding;
    QList<TextEncoding::Considered> m_consideredEncodings;
    bool m_selectionSeeksVideo = true;
    TextFileFormat m_fileFormat;
    SubtitleFormat::Id m_subtitleFormat = SubtitleFormat::Srt;
    std::shared_ptr<const FormatKeep> m_formatKeep;
    QualityProfile m_qualityProfile;
    bool m_qualityProfileChosen = false;
    QString m_language;
    OriginalSubtitles m_original;
};
