#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

// One audio stream of a film (original language, a dub, commentary, audio description),
// as the menu and the command line name it. Tracks are numbered from 1 among the film's
// audio streams in the file's order, the way mpv numbers them (its `aid`), so that the
// player, the decoder and the user mean the same track by the same number.
class AudioTrack
{
    Q_DECLARE_TR_FUNCTIONS(AudioTrack)

public:
    int number = 0;
    QString language; // the code the file gives ("eng", "de"), empty when none or undetermined
    QString title;

    // "1: English — Main", "2: German", "3: Commentary", or "Track 4" with neither.
    QString label() const;

    // The film's audio tracks in order (empty without sound); nothing when the file cannot
    // be read as media. Reads the file's header: not on the GUI thread.
    static std::optional<QList<AudioTrack>> probe(const QString &path);
    // What to tell the user when track `wanted` is not among `tracks` of the file at `path`
    // (empty when it is).
    static QString missing(const QString &path, int wanted, const QList<AudioTrack> &tracks);
    // The same for the file's own tracks, for the command line; empty also when the file
    // cannot be read, which the reading then explains.
    static QString missingIn(const QString &path, int wanted);
};
