#pragma once

#include "document/InPlaceWriter.h"
#include "model/Expected.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>

class QLockFile;

// A write into a file (InPlaceWriter) that its process did not live to finish: the file
// may hold part old, part new text, and its content from before is kept whole.
class InterruptedSave
{
    Q_DECLARE_TR_FUNCTIONS(InterruptedSave)

public:
    QString path;     // the file that was being written
    QString keptPath; // its content from before that save
    QDateTime startedAt;

    // The saves whose process is gone, each now held by this process. What is kept for
    // no file left half written goes: a copy cut short before the file was touched, one
    // whose save finished, one whose file is gone or was replaced since.
    static QList<InterruptedSave> claim(const QString &folder = InPlaceWriter::keptFolder());
    // Writes the kept content back into the file, then lets the copy go.
    [[nodiscard]] Expected<void, QString> putBack() const;
    // The copy goes; the file stays as it is.
    void discard() const;

private:
    QString m_folder;
    std::shared_ptr<QLockFile> m_lock;
};
