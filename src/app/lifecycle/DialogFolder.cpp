#include "app/lifecycle/DialogFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
const QString lastFolderKey = QStringLiteral("dialogs/lastFolder");

QString existingFolderOf(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QString folder = QFileInfo(path).absolutePath();
    return QFileInfo(folder).isDir() ? folder : QString();
}
} // namespace

QString DialogFolder::startFor(const QString &documentPath, const QString &videoPath)
{
    for (const QString &path : {documentPath, videoPath}) {
        if (const QString folder = existingFolderOf(path); !folder.isEmpty())
            return folder;
    }
    const QString last = QSettings().value(lastFolderKey).toString();
    return !last.isEmpty() && QFileInfo(last).isDir() ? last : QDir::homePath();
}

void DialogFolder::remember(const QString &chosenPath)
{
    if (const QString folder = existingFolderOf(chosenPath); !folder.isEmpty())
        QSettings().setValue(lastFolderKey, folder);
}

