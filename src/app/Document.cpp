#include "app/Document.h"

#include "app/DocumentWindow.h"
#include "app/Preferences.h"
#include "app/SubtitleFile.h"
#include "app/TextEncoding.h"

#include "list/SubtitlesTableViewController.h"
#include "model/FrameTiming.h"
#include "player/Player.h"
#include "player/VideoPlayerViewController.h"
#include "timeline/TimelineViewController.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMimeDatabase>

namespace {

// One undoable step that swaps the whole list: a reload from disk over the user's work.
void replaceSubtitlesUndoably(SubtitleController &controller, SubtitleList subtitles)
{
    UndoManager *undo = controller.undoManager();
    if (undo)
        undo->beginUndoGrouping();
    const SubtitleList previous = controller.subtitles(); // a copy: the list changes under it
    controller.removeSubtitles(previous, IndexSet::fromRange(0, int(previous.size())));
    const int count = int(subtitles.size());
    controller.insertSubtitles(subtitles, IndexSet::fromRange(0, count));
    if (undo)
        undo->endUndoGrouping();
}

} // namespace

Document::Document(QObject *parent)
    : QObject(parent)
{
}

Document::~Document()
{
    // The panes refer to their document up to their last moment: the window goes first,
    // whichever of the two was scheduled for deletion first.
    delete m_window;
    m_subtitleController.setDelegate(nullptr);
    m_subtitleController.setUndoManager(nullptr);
}

void Document::setSubtitlesTableViewController(SubtitlesTableViewController *controller)
{
    m_subtitlesTableViewController = controller;
}

void Document::setTimelineViewController(TimelineViewController *controller)
{
    m_timelineViewController = controller;
}

void Document::setVideoPlayerViewController(VideoPlayerViewController *controller)
{
    m_videoPlayerViewController = controller;
}

void Document::setPlayer(Player *player)
{
    m_player = player;
    emit playerChanged(player);
}

void Document::setSelectedSubtitleIndexes(const IndexSet &indexes)
{
    const IndexSet previous = m_selectedSubtitleIndexes;
    m_selectedSubtitleIndexes = indexes;
    emit selectionChanged(indexes, previous);
    emit restorableStateChanged();

    // Show the first newly selected subtitle, or the last selected one; nothing when
    // everything is selected.
    if (indexes.isEmpty() || indexes.count() >= m_subtitleController.count())
        return;
    int toShow = indexes.last();
    for (int index : indexes) {
        if (!previous.contains(index)) {
            toShow = index;
            break;
        }
    }
    showSubtitle(toShow);
}

void Document::showSubtitle(int index)
{
    emit showSubtitleRequested(index);
    // A selection made on the timeline itself neither scrolls it nor seeks.
    if (!m_timelineViewController || m_timelineViewController->isManipulatingSelection())
        return;
    if (m_videoPlayerViewController && m_player && m_player->rate() == 0)
        m_videoPlayerViewController->seekTo(m_subtitleController.at(index)->start);
}

void Document::openVideo(QWidget *dialogParent)
{
    QStringList patterns;
    for (const QMimeType &type : QMimeDatabase().allMimeTypes()) {
        if (type.name().startsWith(QStringLiteral("video/")))
            patterns << type.globPatterns();
    }
    patterns.removeDuplicates();
    const QString filter = tr("Movies (%1);;All files (*)").arg(patterns.join(u' '));
    const QString path = QFileDialog::getOpenFileName(dialogParent, tr("Open Video"), QString(), filter);
    if (!path.isEmpty() && m_videoPlayerViewController)
        m_videoPlayerViewController->loadVideo(path);
}

bool Document::canEditDisplayedSubtitle() const
{
    return m_videoPlayerViewController && m_videoPlayerViewController->currentSubtitleIndex().has_value();
}

void Document::editDisplayedSubtitle()
{
    if (!canEditDisplayedSubtitle() || !m_subtitlesTableViewController)
        return;
    m_subtitlesTableViewController->editSubtitle(*m_videoPlayerViewController->currentSubtitleIndex());
}

bool Document::canSetSubtitleTimeFromVideoPlayer() const
{
    return m_subtitlesTableViewController && m_subtitlesTableViewController->targetRowIndexes().count() == 1
        && m_videoPlayerViewController && m_player;
}

std::optional<double> Document::playerTimeOnFrame() const
{
    if (!m_player)
        return std::nullopt;
    return FrameTiming::snapToFrame(m_player->currentTime(), m_subtitleController.frameRate());
}

void Document::setSubtitleStartTimeFromVideoPlayer()
{
    if (!canSetSubtitleTimeFromVideoPlayer())
        return;
    const int row = m_subtitlesTableViewController->targetRowIndexes().first();
    m_subtitleController.setStart(row, *playerTimeOnFrame());
    m_undoManager.setActionName(tr("Set Start Time"));
}

void Document::setSubtitleEndTimeFromVideoPlayer()
{
    if (!canSetSubtitleTimeFromVideoPlayer())
        return;
    const int row = m_subtitlesTableViewController->targetRowIndexes().first();
    const bool playing = m_player->rate() != 0;
    m_subtitleController.setEnd(row, *playerTimeOnFrame());
    m_undoManager.setActionName(tr("Set End Time"));
    // While the video plays, the command walks through the subtitles one by one.
    if (playing) {
        const int next = row + 1;
        setSelectedSubtitleIndexes(next < m_subtitleController.count() ? IndexSet(next) : IndexSet());
    }
}

void Document::didReloadSubtitles(SubtitleController &)
{
    emit subtitlesReloaded();
}

void Document::didUpdateSubtitles(SubtitleController &, const IndexSet &indexes,
                                  const QList<SubtitleIndexUpdate> &indexUpdates, const IndexSet &newIndexes)
{
    emit subtitlesUpdated(indexes, indexUpdates, newIndexes);
    setSelectedSubtitleIndexes(newIndexes);
}

void Document::didInsertSubtitles(SubtitleController &, const IndexSet &indexes)
{
    emit subtitlesInserted(indexes);
    setSelectedSubtitleIndexes(indexes);
}

void Document::didRemoveSubtitles(SubtitleController &controller, const SubtitleList &subtitles,
                                  const IndexSet &indexes)
{
    emit subtitlesRemoved(subtitles, indexes);
    const int first = indexes.isEmpty() ? 0 : indexes.first();
    const int remaining = controller.count();
    if (first < remaining)
        setSelectedSubtitleIndexes(IndexSet(first));
    else if (remaining > 0)
        setSelectedSubtitleIndexes(IndexSet(remaining - 1));
    else
        setSelectedSubtitleIndexes(IndexSet());
}

void Document::setFilePath(const QString &path)
{
    m_filePath = path;
    emit filePathChanged();
}

QString Document::displayName() const
{
    if (!m_filePath.isEmpty())
        return QFileInfo(m_filePath).fileName();
    return m_untitledNumber > 1 ? tr("Untitled %1").arg(m_untitledNumber) : tr("Untitled");
}

std::optional<QString> Document::read(const QString &path, ReadMode mode)
{
    const int chosen = Preferences::saveEncoding();
    auto result = SubtitleFile::read(path, chosen);
    if (!result)
        return result.error();
    SubtitleFile::Contents contents = std::move(result).value();
    if (chosen == TextEncoding::Automatic)
        m_encoding = contents.encoding;
    if (mode == ReadMode::Undoable)
        replaceSubtitlesUndoably(m_subtitleController, std::move(contents.subtitles));
    else
        m_subtitleController.setSubtitles(std::move(contents.subtitles));
    return std::nullopt;
}

std::optional<QString> Document::readRecovered(const QString &path, std::optional<int> encoding)
{
    auto result = SubtitleFile::read(path, TextEncoding::Utf8);
    if (!result)
        return result.error();
    m_encoding = encoding;
    m_subtitleController.setSubtitles(std::move(result).value().subtitles);
    return std::nullopt;
}

int Document::encodingForSaving(std::optional<int> chosenEncoding) const
{
    const int setting = Preferences::saveEncoding();
    return SubtitleFile::encodingForSaving(m_encoding, setting, chosenEncoding);
}

std::optional<QString> Document::write(const QString &path, std::optional<int> chosenEncoding)
{
    const int encoding = encodingForSaving(chosenEncoding);
    if (auto error = SubtitleFile::write(path, m_subtitleController.subtitles(), encoding))
        return error;
    if (chosenEncoding && *chosenEncoding != TextEncoding::Automatic)
        m_encoding = *chosenEncoding;
    return std::nullopt;
}

DocumentWindow *Document::window() const
{
    return m_window;
}

DocumentWindow *Document::makeWindow()
{
    m_subtitleController.setDelegate(this);
    m_subtitleController.setUndoManager(&m_undoManager);
    m_window = new DocumentWindow(this);
    return m_window;
}

QVariantMap Document::restorableState() const
{
    QVariantMap state;
    if (!m_selectedSubtitleIndexes.isEmpty())
        state.insert(QStringLiteral("selectedIndex"), m_selectedSubtitleIndexes.first());
    return state;
}

void Document::restoreState(const QVariantMap &state)
{
    if (!m_subtitlesTableViewController || !m_timelineViewController)
        return;
    const QVariant stored = state.value(QStringLiteral("selectedIndex"));
    if (!stored.isValid())
        return;
    bool ok = false;
    const int index = stored.toInt(&ok);
    if (ok && index >= 0 && index < m_subtitleController.count())
        setSelectedSubtitleIndexes(IndexSet(index));
}
