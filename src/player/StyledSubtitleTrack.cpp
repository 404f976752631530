#include "player/StyledSubtitleTrack.h"

#include "document/Document.h"
#include "document/Player.h"
#include "format/FormatKeep.h"
#include "format/OwnFile.h"
#include "format/SubtitleFormatIo.h"
#include "player/OwnedTemporaryFolder.h"

#include <optional>
#include <utility>

namespace {

// Long enough that typing or a drag's last moves make one write, short enough to follow.
constexpr int writeDelayMs = 150;
// How many cues the worker takes over between looks at whether it was stopped.
constexpr qsizetype cuesBetweenStopChecks = 4096;
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
    // What is being written is out of date already.
    if (m_writing)
        m_writer.request_stop();
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
    // The subtitles change in place on this thread: the worker gets copies of them.
    // Copying is all this thread does; the script is made from the copies.
    const SubtitleList &subtitles = m_document->subtitleController().subtitles();
    std::vector<const Subtitle *> originals;
    originals.reserve(size_t(subtitles.size()));
    SubtitleList copies;
    copies.reserve(subtitles.size());
    for (const SubtitlePtr &subtitle : subtitles) {
        originals.push_back(subtitle.get());
        const auto utf8 = subtitle->utf8();
        copies.append(utf8 ? Subtitle::createUtf8(*utf8, subtitle->start, subtitle->end)
                           : Subtitle::create(subtitle->text(), subtitle->start, subtitle->end));
    }
    m_writing = true;
    if (m_writer.joinable())
        m_writer.join(); // it has reported back: nothing left to wait for
    // Only the worker touches the folder until it reports back.
    m_writer = std::jthread([this, format = m_document->subtitleFormat(), keep = m_document->sharedFormatKeep(),
                             originals = std::move(originals), copies = std::move(copies)](std::stop_token stop) {
        const Outcome outcome = writeScript(stop, format, keep.get(), originals, copies);
        QMetaObject::invokeMethod(this, [this, outcome] { written(outcome); }, Qt::QueuedConnection);
    });
}

StyledSubtitleTrack::Outcome StyledSubtitleTrack::writeScript(const std::stop_token &stop, SubtitleFormat::Id format,
                                                              const FormatKeep *keep,
                                                              const std::vector<const Subtitle *> &originals,
                                                              const SubtitleList &copies)
{
    // The cues kept from the file, found by the originals, now belong to the copies.
    std::optional<FormatKeep> copiesKeep;
    if (keep && keep->format() == format) {
        copiesKeep.emplace(format);
        copiesKeep->header = keep->header;
        copiesKeep->trailer = keep->trailer;
        copiesKeep->fileFields = keep->fileFields;
        for (qsizetype i = 0; i < copies.size(); ++i) {
            if (i % cuesBetweenStopChecks == 0 && stop.stop_requested())
                return Outcome::Stopped;
            if (const FormatKeep::Cue *cue = keep->cue(*originals[size_t(i)]))
                copiesKeep->keep(copies[i], *cue);
        }
    }
    if (stop.stop_requested())
        return Outcome::Stopped;
    const QByteArray bytes = SubtitleFormatIo::write(format, copies, copiesKeep ? &*copiesKeep : nullptr).toUtf8();
    copiesKeep.reset();
    if (stop.stop_requested())
        return Outcome::Stopped;
    if (!m_folder)
        m_folder = std::make_unique<OwnedTemporaryFolder>(folderKind);
    const bool ok = m_folder->isValid() && OwnFile::write(m_folder->filePath(QStringLiteral("shown.ass")), bytes, 0600).hasValue();
    return ok ? Outcome::Written : Outcome::Failed;
}

void StyledSubtitleTrack::written(Outcome outcome)
{
    m_writing = false;
    if (!wanted())
        return;
    if (outcome == Outcome::Written) {
        if (m_added) {
            m_player->reloadSubtitleFile();
        } else {
            m_player->showSubtitleFile(m_folder->filePath(QStringLiteral("shown.ass")));
            m_added = true;
        }
    }
    // A file that cannot be written leaves the plain overlay showing the subtitles; one
    // stopped for a newer change shows what it showed until that one is written.
    if (outcome != Outcome::Stopped)
        setShown(outcome == Outcome::Written);
    if (std::exchange(m_writeAgain, false))
        write();
}

void StyledSubtitleTrack::setShown(bool shown)
{
    if (m_shown == shown)
        return;
    m_shown = shown;
    emit shownChanged();
}
