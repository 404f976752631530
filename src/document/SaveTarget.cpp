#include "document/SaveTarget.h"

#include <QFile>
#include <QFileInfo>

Expected<void, QString> SaveTarget::check(const QString &path)
{
    if (!isFaithful(path))
        return tr("The file cannot be saved because its name is not valid UTF-8 text. Choose Save As… and give it another name.");
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return tr("The file cannot be saved because “%1” is not a regular file (it is a device, a pipe or a socket).")
            .arg(info.fileName());
    return {};
}

bool SaveTarget::isFaithful(const QString &path)
{
    return !path.contains(QChar::ReplacementCharacter) && QFile::decodeName(QFile::encodeName(path)) == path;
}
