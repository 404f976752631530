#include "document/FileAttributes.h"

#include <QByteArray>
#include <QFile>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

void copyExtendedAttributes(const QByteArray &from, int to)
{
    const ssize_t listSize = ::listxattr(from.constData(), nullptr, 0);
    if (listSize <= 0)
        return;
    QByteArray names(listSize, '\0');
    const ssize_t listed = ::listxattr(from.constData(), names.data(), names.size());
    if (listed <= 0)
        return;
    names.truncate(listed);
    for (const QByteArray &name : names.split('\0')) {
        if (name.isEmpty())
            continue;
        const ssize_t valueSize = ::getxattr(from.constData(), name.constData(), nullptr, 0);
        if (valueSize < 0)
            continue;
        QByteArray value(valueSize, '\0');
        const ssize_t read = ::getxattr(from.constData(), name.constData(), value.data(), value.size());
        if (read >= 0)
            ::fsetxattr(to, name.constData(), value.constData(), size_t(read), 0);
    }
}

} // namespace

void FileAttributes::copy(const QString &from, int toDescriptor)
{
    const QByteArray path = QFile::encodeName(from);
    struct stat info {};
    if (toDescriptor < 0 || ::stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return;
    // The owner only root may give away; the group, any of the user's own groups.
    if (::fchown(toDescriptor, info.st_uid, info.st_gid) != 0) {
        [[maybe_unused]] const int ignored = ::fchown(toDescriptor, uid_t(-1), info.st_gid);
    }
    copyExtendedAttributes(path, toDescriptor);
    // Last: changing the owner clears the set-id bits.
    ::fchmod(toDescriptor, info.st_mode & 07777);
}
