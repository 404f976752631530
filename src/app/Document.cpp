#include "app/Document.h"

Document::Document(QObject *parent)
    : QObject(parent)
{
}

Document::~Document()
{
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
