#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// Puts the program's translation and Qt's own (for the buttons of message boxes and file
// dialogs) into the application, in the user's preferred language.
class Translator
{
public:
    // Chooses by the system locale's list of preferred languages.
    static void install(QCoreApplication &app);

    // Walks the languages in order of preference ("de-DE", "fr", …) and installs the
    // first one the program is translated to. English, the language of the source
    // texts, ends the walk: a user who prefers it keeps it even with German listed
    // second. Returns the language as listed whose translation was installed, or
    // an empty string.
    // Replaces whatever an earlier call installed.
    static QString install(QCoreApplication &app, const QStringList &uiLanguages);

    // Where translations are looked for, in order: beside an installed program
    // (share/cuewright/translations), then the copy compiled into the program.
    static QStringList searchPaths();
};
