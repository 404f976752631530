#pragma once

#include <QIcon>

// The application icon (a frame of film with a subtitle bar), for windows and dialogs.
class AppIcon
{
public:
    // The icon theme's "cuewright" when installed, else the compiled-in sizes.
    static QIcon icon();
};
