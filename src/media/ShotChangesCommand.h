#pragma once

#include "model/Expected.h"

#include <QCoreApplication>
#include <QString>

#include <vector>

class QTextStream;

// `cuewright --shot-changes VIDEO`: the video's cuts as the editor finds them (by the same
// media session, so a film the editor has scanned is not scanned again), one
// "HH:MM:SS,mmm" a line, for scripts and for measuring from a shell.
class ShotChangesCommand
{
    Q_DECLARE_TR_FUNCTIONS(ShotChangesCommand)

public:
    struct Cuts
    {
        std::vector<double> times;
        double frameRate = 0; // 0 when the video tells none
    };
    // The cuts of the whole video, or why it could not be scanned to its end.
    static Expected<Cuts, QString> find(const QString &path);
    // Prints the cuts to out and returns 0, or prints why the video could not be read
    // to err and returns 1.
    static int run(const QString &path, QTextStream &out, QTextStream &err);
};
