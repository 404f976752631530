#pragma once

#include <QString>

// Where the file dialogs start: beside the document's file, else beside its video, else
// where the user last chose a file, else the home folder; never the folder the program
// happened to be started in.
class DialogFolder
{
public:
    static QString startFor(const QString &documentPath, const QString &videoPath);
    // The folder of a file chosen in any dialog, for the dialogs that have nothing nearer.
    static void remember(const QString &chosenPath);
};
