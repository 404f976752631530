#pragma once

#include "model/ShotChanges.h"

#include <QObject>
#include <QPointer>

#include <vector>

class UndoManager;

// One video's shot changes: those found in it, less those the user removed, and those the
// user added. None is saved in the subtitle file: the user's edits are undo steps of the
// document that change nothing it saves.
class VideoShotChanges : public QObject
{
    Q_OBJECT

public:
    explicit VideoShotChanges(QObject *parent = nullptr);

    // The undo history the user's edits go into; without one they are not undoable.
    void setUndoManager(UndoManager *undoManager);

    const ShotChanges &shotChanges() const { return m_shotChanges; }
    // Found ones, from a scan or the cache; not undoable. One the user removed stays removed.
    void addFound(const std::vector<double> &times);
    // The user's own; each one undo step. False when there is nothing to do (one is
    // already there; none is within ShotChanges::tolerance).
    bool add(double time);
    bool remove(double time);
    // What the user added and removed, remembered until the video changes.
    struct Edits
    {
        ShotChanges added;
        ShotChanges removed;
        bool isEmpty() const { return added.isEmpty() && removed.isEmpty(); }
        friend bool operator==(const Edits &, const Edits &) = default;
    };
    const Edits &edits() const { return m_edits; }
    // Another video: no shot changes, no edits; undo steps of the old ones do nothing.
    void clear();

signals:
    void changed();

private:
    bool edit(double time, bool present, const QString &stepName);
    void set(double time, bool present, const Edits &edits);

    QPointer<UndoManager> m_undoManager;
    ShotChanges m_shotChanges;
    Edits m_edits;
    int m_video = 0; // counts the videos, so that an old one's undo steps know it
};
