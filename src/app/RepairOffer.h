#pragma once

#include "format/TolerantSubtitleReader.h"

#include <QCoreApplication>

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
};
