#include "media/VideoShotChanges.h"

#include "model/UndoManager.h"

#include <cmath>
#include <utility>

VideoShotChanges::VideoShotChanges(QObject *parent)
    : QObject(parent)
{
}

void VideoShotChanges::setUndoManager(UndoManager *undoManager)
{
    m_undoManager = undoManager;
}

void VideoShotChanges::addFound(const std::vector<double> &times)
{
    int added = 0;
    for (double time : times) {
        if (!m_edits.removed.nearest(time, ShotChanges::tolerance))
            added += m_shotChanges.insert(time) ? 1 : 0;
    }
    if (added > 0)
        emit changed();
}

bool VideoShotChanges::add(double time)
{
    return edit(time, true, tr("Add Shot Change"));
}

bool VideoShotChanges::remove(double time)
{
    return edit(time, false, tr("Remove Shot Change"));
}

bool VideoShotChanges::edit(double time, bool present, const QString &stepName)
{
    const std::optional<double> existing = m_shotChanges.nearest(time, ShotChanges::tolerance);
    if (!std::isfinite(time) || existing.has_value() == present)
        return false;
    if (!present)
        time = *existing; // its own time, which an undo puts back
    Edits edits = m_edits;
    (present ? edits.removed : edits.added).remove(time);
    (present ? edits.added : edits.removed).insert(time);
    if (m_undoManager)
        m_undoManager->runAsOneStep(stepName, [&] { set(time, present, edits); });
    else
        set(time, present, edits);
    return true;
}

// Registers the step back to how things were, as the subtitle controller does.
void VideoShotChanges::set(double time, bool present, const Edits &edits)
{
    if (m_undoManager) {
        m_undoManager->registerUndo(
            [self = QPointer(this), time, present, before = m_edits, video = m_video] {
                if (self && video == self->m_video)
                    self->set(time, !present, before);
            },
            UndoManager::Scope::OutsideFile);
    }
    if (present)
        m_shotChanges.insert(time);
    else
        m_shotChanges.remove(time);
    m_edits = edits;
    emit changed();
}

void VideoShotChanges::clear()
{
    ++m_video;
    m_edits = {};
    if (std::exchange(m_shotChanges, ShotChanges()).isEmpty())
        return;
    emit changed();
}
