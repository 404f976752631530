#include "player/StyledSubtitleTrack.h"

#include "document/Document.h"
#include "document/Player.h"
#include "format/FormatKeep.h"
#include "format/OwnFile.h"
#include "format/SubtitleFormatIo.h"
#include "player/OwnedTemporaryFolder.h"

#include <algorithm>
#include <utility>

namespace {

// Long enough that typing or a drag's last moves make one write, short enough to follow.
constexpr int writeDelayMs = 150;
const QString folderKind = QStringLiteral("shown");
// Beyond this many subtitles changed in place, one pass over the list costs no more.
constexpr int maxUpdatedInPlace = 4096;

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
    const auto listChanged = [this] {
        m_updatedInPlace.reset();
        scheduleWrite();
    };
    connect(document, &Document::subtitlesReloaded, this, listChanged);
    connect(document, &Document::subtitlesInserted, this, listChanged);
    connect(document, &Document::subtitlesRemoved, this, listChanged);
    connect(document, &Document::subtitlesReordered, this, listChanged);
    connect(document, &Document::encodingChanged, this, listChanged);
    connect(document, &Document::subtitlesUpdated, this,
            [this](const IndexSet &, const QList<SubtitleIndexUpdate> &indexUpdates, const IndexSet &newIndexes) {
                // Typing changes one subtitle where it stands: the next copy looks at it alone.
                if (m_updatedInPlace && indexUpdates.isEmpty() && newIndexes.count() <= maxUpdatedInPlace)
                    m_updatedInPlace->insert(m_updatedInPlace->end(), newIndexes.begin(), newIndexes.end());
                else
                    m_updatedInPlace.reset();
                scheduleWrite();
            });
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
    // The subtitles change in place on this thread: the worker gets copies of them. A copy
    // is never changed, so one still like its subtitle is kept for the next script, and an
    // edit costs one pass over the list and the copies of what changed.
    const SubtitleList &subtitles = m_document->subtitleController().subtitles();
    const SubtitleFormat::Id format = m_document->subtitleFormat();
    std::shared_ptr<const FormatKeep> keep = m_document->sharedFormatKeep();
    if (keep && keep->format() != format)
        keep.reset();
    if (keep != m_copiedKeep || format != m_copiedFormat || !m_copiesKeep) {
        m_copiedFrom.clear();
        m_copies.clear();
        m_updatedInPlace.reset();
        m_copiedKeep = keep;
        m_copiedFormat = format;
        m_copiesKeep = std::make_shared<FormatKeep>(format);
        if (keep) {
            m_copiesKeep->header = keep->header;
            m_copiesKeep->trailer = keep->trailer;
            m_copiesKeep->fileFields = keep->fileFields;
        }
    }
    // The last worker has reported back: nothing left to wait for, and its share of the
    // copies is given back, so they can be replaced where they are.
    if (m_writer.joinable())
        m_writer.join();
    std::vector<std::pair<SubtitlePtr, const Subtitle *>> fresh;
    const auto copyOf = [&fresh](const SubtitlePtr &subtitle) {
        const auto utf8 = subtitle->utf8();
        SubtitlePtr copy = utf8 ? Subtitle::createUtf8(*utf8, subtitle->start, subtitle->end)
                                : Subtitle::create(subtitle->text(), subtitle->start, subtitle->end);
        fresh.emplace_back(copy, subtitle.get());
        return copy;
    };
    if (m_updatedInPlace && m_copies.size() == subtitles.size()) {
        for (const int position : *m_updatedInPlace) {
            if (position < subtitles.size() && !isLike(*m_copies[position], *subtitles[position]))
                m_copies[position] = copyOf(subtitles[position]);
        }
    } else {
        std::vector<const Subtitle *> originals;
        originals.reserve(size_t(subtitles.size()));
        SubtitleList copies;
        copies.reserve(subtitles.size());
        qsizetype previous = 0;
        for (const SubtitlePtr &subtitle : subtitles) {
            originals.push_back(subtitle.get());
            const qsizetype found = formerCopyOf(*subtitle, previous);
            if (found >= 0) {
                previous = found + 1;
                if (isLike(*m_copies[found], *subtitle)) {
                    copies.append(m_copies[found]);
                    continue;
                }
            }
            copies.append(copyOf(subtitle));
        }
        m_copiedFrom = std::move(originals);
        m_copies = std::move(copies);
    }
    m_updatedInPlace.emplace();
    m_writing = true;
    // Only the worker touches the folder and the copies' keep until it reports back.
    m_writer = std::jthread([this, format, keep = std::move(keep), copiesKeep = m_copiesKeep, fresh = std::move(fresh),
                             copies = m_copies](std::stop_token stop) {
        const Outcome outcome = writeScript(stop, format, keep.get(), *copiesKeep, fresh, copies);
        QMetaObject::invokeMethod(this, [this, outcome] { written(outcome); }, Qt::QueuedConnection);
    });
}

qsizetype StyledSubtitleTrack::formerCopyOf(const Subtitle &subtitle, qsizetype from) const
{
    // Usually where the last one was found, or a little after it (subtitles removed);
    // else among the copies that started at the same time (subtitles moved).
    constexpr qsizetype nearby = 8;
    const qsizetype count = qsizetype(m_copiedFrom.size());
    for (qsizetype k = from; k < std::min(count, from + nearby); ++k) {
        if (m_copiedFrom[size_t(k)] == &subtitle)
            return k;
    }
    const auto first = std::lower_bound(m_copies.begin() + std::min(from, count), m_copies.end(), subtitle.start,
                                        [](const SubtitlePtr &copy, double start) { return copy->start < start; });
    for (auto it = first; it != m_copies.end() && it - first < 64 && (*it)->start == subtitle.start; ++it) {
        if (m_copiedFrom[size_t(it - m_copies.begin())] == &subtitle)
            return it - m_copies.begin();
    }
    return -1;
}

bool StyledSubtitleTrack::isLike(const Subtitle &copy, const Subtitle &subtitle)
{
    if (copy.start != subtitle.start || copy.end != subtitle.end)
        return false;
    const auto copyUtf8 = copy.utf8();
    const auto utf8 = subtitle.utf8();
    return copyUtf8 && utf8 ? *copyUtf8 == *utf8 : copy.text() == subtitle.text();
}

StyledSubtitleTrack::Outcome StyledSubtitleTrack::writeScript(
    const std::stop_token &stop, SubtitleFormat::Id format, const FormatKeep *keep, FormatKeep &copiesKeep,
    const std::vector<std::pair<SubtitlePtr, const Subtitle *>> &fresh, const SubtitleList &copies)
{
    // The cues kept from the file, found by the originals, now belong to the new copies.
    // Not stopped halfway: the copies are kept for the next script, with their cues.
    if (keep) {
        for (const auto &[copy, original] : fresh) {
            if (const FormatKeep::Cue *cue = keep->cue(*original))
                copiesKeep.keep(copy, *cue);
        }
    }
    if (stop.stop_requested())
        return Outcome::Stopped;
    const QByteArray bytes = SubtitleFormatIo::write(format, copies, keep ? &copiesKeep : nullptr).toUtf8();
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
