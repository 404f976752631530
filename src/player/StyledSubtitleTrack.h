#pragma once

#include "format/SubtitleFormat.h"
#include "model/Subtitle.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

class Document;
class FormatKeep;
class OwnedTemporaryFolder;
class Player;

// Lets the player draw a styled document (ASS, SSA) itself, as the format means it:
// fonts, colours, positions and effects that the plain overlay cannot show. A moment after
// a burst of changes the subtitles that changed are copied (the copies of the others are
// kept from the last time), and the copies are made into a script and written to a
// private file off the GUI thread; the player then reads it again. A change while that
// runs stops it, and the next copy is written instead. Other formats keep the overlay.
class StyledSubtitleTrack : public QObject
{
    Q_OBJECT

public:
    explicit StyledSubtitleTrack(Document *document, QObject *parent = nullptr);
    ~StyledSubtitleTrack() override;

    // The player of the loaded video, or nullptr.
    void setPlayer(Player *player);
    // Whether the player draws the subtitles: the overlay then shows none.
    bool isShown() const { return m_shown; }
    // Clears the private copies that killed processes left behind.
    static void removeAbandonedCopies();

signals:
    void shownChanged();

private:
    bool wanted() const;
    void scheduleWrite();
    void write();
    enum class Outcome { Written, Failed, Stopped };
    void written(Outcome outcome);
    // Where the copy made last time of `subtitle` is, looking from `from` on; -1: none.
    qsizetype formerCopyOf(const Subtitle &subtitle, qsizetype from) const;
    static bool isLike(const Subtitle &copy, const Subtitle &subtitle);
    // On the worker. Each new copy comes with the subtitle it was made from, only to find
    // the cue kept from the file: a kept cue's subtitle is held by the keep, so no other
    // subtitle can have its address.
    Outcome writeScript(const std::stop_token &stop, SubtitleFormat::Id format, const FormatKeep *keep,
                        FormatKeep &copiesKeep, const std::vector<std::pair<SubtitlePtr, const Subtitle *>> &fresh,
                        const SubtitleList &copies);
    void setShown(bool shown);

    Document *m_document;
    Player *m_player = nullptr;
    QTimer m_delay;
    std::unique_ptr<OwnedTemporaryFolder> m_folder;
    // The copies of the last script, the subtitles they were made from and the keep that
    // gives them their cues (the worker's while it runs).
    std::vector<const Subtitle *> m_copiedFrom;
    SubtitleList m_copies;
    std::shared_ptr<const FormatKeep> m_copiedKeep;
    SubtitleFormat::Id m_copiedFormat = SubtitleFormat::Srt;
    std::shared_ptr<FormatKeep> m_copiesKeep;
    // The positions changed where they stand since the last copies; none: anything else
    // changed, and every subtitle is looked at.
    std::optional<std::vector<int>> m_updatedInPlace;
    std::jthread m_writer;
    bool m_writing = false;
    bool m_writeAgain = false;
    bool m_shown = false;
    bool m_added = false;
};
