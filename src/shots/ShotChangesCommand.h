#pragma once

#include <QCoreApplication>
#include <QString>

class QTextStream;

// `cuewright --shot-changes VIDEO`: the video's cuts as the editor finds them, one
// "HH:MM:SS,mmm" a line, for scripts and for measuring from a shell.
class ShotChangesCommand
{
    Q_DECLARE_TR_FUNCTIONS(ShotChangesCommand)

public:
    // Prints the cuts to out and returns 0, or prints why the video could not be read
    // to err and returns 1.
    static int run(const QString &path, QTextStream &out, QTextStream &err);
};
