#pragma once

#include <QString>

// Who may read a file and what else is attached to it: owner, group, mode with its
// set-id bits, and extended attributes (access control lists among them). A save writes
// a new file in place of the old one; this carries the old one's attributes over, as
// far as the user is allowed to.
class FileAttributes
{
public:
    // Copies the attributes of the file at `from` (when it exists) to the open file
    // `toDescriptor`. What the user may not set is left as it is.
    static void copy(const QString &from, int toDescriptor);
};
