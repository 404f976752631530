#pragma once

#include "document/SubtitleFile.h"
#include "format/TolerantSubtitleReader.h"
#include "model/Expected.h"

#include <QCoreApplication>

#include <functional>

class Document;
class QWidget;

// Reading a file for opening. When the strict reading fails, the alert shows its message
// and, when the file can be repaired, offers to; a refused file says why.
class RepairOffer
{
    Q_DECLARE_TR_FUNCTIONS(RepairOffer)

public:
    enum class Outcome { Read, Repaired, Refused };

    // Reads `path` into `document` in `encoding`; `repairs` gets what a repair mended
    // (the first ones) and `unlistedRepairs` how many more there were.
    static Outcome read(Document *document, const QString &path, int encoding, QWidget *alertParent,
                        QList<TolerantSubtitleReader::Repair> &repairs, qsizetype &unlistedRepairs);
    // The same for any reader of `path`: `read` reads it strictly or repairing, and keeps
    // what it read only when it succeeds.
    using Reader = std::function<Expected<void, QString>(SubtitleFile::Reading)>;
    static Outcome read(const Reader &read, const QString &path, int encoding, QWidget *alertParent);
};
