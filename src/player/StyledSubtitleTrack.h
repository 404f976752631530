#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <memory>
#include <thread>

class Document;
class OwnedTemporaryFolder;
class Player;

// Lets the player draw a styled document (ASS, SSA) itself, as the format means it:
// fonts, colours, positions and effects that the plain overlay cannot show. The document
// is written to a private file a moment after each change, off the GUI thread, and the
// player reads it again. Other formats keep the overlay.
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
    void written(bool ok);
    void setShown(bool shown);

    Document *m_document;
    Player *m_player = nullptr;
    QTimer m_delay;
    std::unique_ptr<OwnedTemporaryFolder> m_folder;
    std::jthread m_writer;
    bool m_writing = false;
    bool m_writeAgain = false;
    bool m_shown = false;
    bool m_added = false;
};
