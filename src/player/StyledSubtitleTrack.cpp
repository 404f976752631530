#include "player/StyledSubtitleTrack.h"

#include "document/Document.h"
#include "document/Player.h"
#include "format/OwnFile.h"
#include "format/SubtitleFormatIo.h"
#include "player/OwnedTemporaryFolder.h"

namespace {

// Long enough that typing or a drag's last moves make one write, short enough to follow.
constexpr int writeDelayMs = 150;
const QString folderKind = QStringLiteral("shown");

bool isStyled(SubtitleFormat::Id format)
{
    return format == SubtitleFormat::Ass || format == SubtitleFormat::Ssa;
}

} // namespace

StyledSubtitleTrack::StyledSubtitleTrack(Document *document, QObject *parent)
    : QObject(parent)
    , m_document(document)
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(writeDelayMs);
    connect(&m_delay, &QTimer::timeout, this, &StyledSubtitleTrack::write);
    connect(document, &Document::subtitlesReloaded, this, &StyledSubtitleTrack::scheduleWrite);
    connect(document, &Document::subtitlesInserted, this, &StyledSubtitleTrack::scheduleWrite);
    connect(document, &Document::subtitlesRemoved, this, &StyledSubtitleTrack::scheduleWrite);
    connect(document, &Document::subtitlesUpdated, this, &StyledSubtitleTrack::scheduleWrite);
    connect(document, &Document::subtitlesReordered, this, &StyledSubtitleTrack::scheduleWrite);
    connect(document, &Document::encodingChanged, this, &StyledSubtitleTrack::scheduleWrite);
}

StyledSubtitleTrack::~StyledSubtitleTrack() = default;

void StyledSubtitleTrack::removeAbandonedCopies()
{
    OwnedTemporaryFolder::removeAbandoned(folderKind);
}

void StyledSubtitleTrack::setPlayer(Player *player)
{
    m_player = player;
    m_added = false;
    setShown(false);
    scheduleWrite();
}

bool StyledSubtitleTrack::wanted() const
{
    return m_player && isStyled(m_document->subtitleFormat());
}

void StyledSubtitleTrack::scheduleWrite()
{
    if (!wanted()) {
        if (m_added && m_player)
            m_player->showSubtitleFile(QString());
        m_added = false;
        setShown(false);
        return;
    }
    m_delay.start();
}

void StyledSubtitleTrack::write()
{
    if (!wanted())
        return;
    if (m_writing) {
        m_writeAgain = true;
        return;
    }
    // The text is made here: the subtitles change on this thread only.
    const QString text = SubtitleFormatIo::write(m_document->subtitleFormat(), m_document->subtitleController().subtitles(),
                                                 m_document->formatKeep());
    m_writing = true;
    if (m_writer.joinable())
        m_writer.join();
    // The folder is made and the file written off the GUI thread; only the worker touches
    // the folder until it reports back.
    m_writer = std::jthread([this, bytes = text.toUtf8()] {
        if (!m_folder)
            m_folder = std::make_unique<OwnedTemporaryFolder>(folderKind);
        const bool ok = m_folder->isValid() && OwnFile::write(m_folder->filePath(QStringLiteral("shown.ass")), bytes, 0600).hasValue();
        QMetaObject::invokeMethod(this, [this, ok] { written(ok); }, Qt::QueuedConnection);
    });
}

void StyledSubtitleTrack::written(bool ok)
{
    m_writing = false;
    if (!wanted())
        return;
    if (ok) {
        if (m_added) {
            m_player->reloadSubtitleFile();
        } else {
            m_player->showSubtitleFile(m_folder->filePath(QStringLiteral("shown.ass")));
            m_added = true;
        }
    }
    // A file that cannot be written leaves the plain overlay showing the subtitles.
    setShown(ok);
    if (m_writeAgain) {
        m_writeAgain = false;
        write();
    }
}

void StyledSubtitleTrack::setShown(bool shown)
{
    if (m_shown == shown)
        return;
    m_shown = shown;
    emit shownChanged();
}
