#include "app/preferences/SettingsFile.h"

#include "format/OwnFile.h"

#include <QFileInfo>

#include <tuple>

void SettingsFile::makeOwn(const QString &path)
{
    if (!QFileInfo(path).isSymLink())
        return;
    // What the link leads to is kept if it is settings at all; a device or a pipe is not read.
    constexpr qint64 largestSettings = 16 * 1024 * 1024;
    const auto settings = OwnFile::read(path, largestSettings, OwnFile::Links::Followed);
    // Should this fail, the settings are still saved, only through the link as before.
    std::ignore = OwnFile::write(path, settings ? settings.value() : QByteArray(), 0600);
}
