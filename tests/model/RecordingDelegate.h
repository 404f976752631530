#pragma once

#include "model/SubtitleController.h"
#include "model/SubtitleControllerDelegate.h"

#include "SubtitleText.h"

#include <QStringList>

// Writes every delegate call down as one line of text, so tests compare whole sequences:
// "update {indexes} [moves old->new] {new indexes}",
// "reorder {indexes} {new indexes}", "insert {…}", "remove {…}", "reload".
class RecordingDelegate : public SubtitleControllerDelegate
{
public:
    QStringList calls;

    void didReloadSubtitles(SubtitleController &) override { calls << QStringLiteral("reload"); }
    void didUpdateSubtitles(SubtitleController &, const IndexSet &indexes, const QList<SubtitleIndexUpdate> &updates,
                            const IndexSet &newIndexes) override
    {
        QStringList moves;
        for (const SubtitleIndexUpdate &update : updates)
            moves << QStringLiteral("%1->%2").arg(update.oldIndex).arg(update.newIndex);
        calls << QStringLiteral("update %1 [%2] %3").arg(text(indexes), moves.join(u' '), text(newIndexes));
    }
    void didReorderSubtitles(SubtitleController &, const IndexSet &indexes, const std::vector<int> &,
                             const IndexSet &newIndexes) override
    {
        calls << QStringLiteral("reorder %1 %2").arg(text(indexes), text(newIndexes));
    }
    void didInsertSubtitles(SubtitleController &, const IndexSet &indexes) override { calls << "insert " + text(indexes); }
    void didRemoveSubtitles(SubtitleController &, const SubtitleList &, const IndexSet &indexes) override
    {
        calls << "remove " + text(indexes);
    }

    static QString text(const IndexSet &indexes)
    {
        QStringList parts;
        for (int index : indexes)
            parts << QString::number(index);
        return QLatin1Char('{') + parts.join(u',') + QLatin1Char('}');
    }
};

inline QString describe(const SubtitleController &controller)
{
    return describeSubtitles(controller.subtitles());
}
