#pragma once

#include <QString>

// The user's settings file as the program's own. Settings are saved by writing a new
// file and renaming it over the name, but through a symbolic link that lands on the
// file the link points to, which may be any file of the user's. A link found there is
// replaced by a file of the program's own holding the same settings, so that no later
// save writes through it.
class SettingsFile
{
public:
    static void makeOwn(const QString &path);
};
