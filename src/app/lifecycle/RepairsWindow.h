#pragma once

#include "format/TolerantSubtitleReader.h"

#include <QDialog>

class QPlainTextEdit;

// The list of what a repairing read mended, one line each (“Line 12 “its text”: …”),
// shown once after opening; the text can be selected and copied.
class RepairsWindow : public QDialog
{
    Q_OBJECT

public:
    RepairsWindow(const QString &fileName, const QList<TolerantSubtitleReader::Repair> &repairs, qsizetype unlistedRepairs,
                  QWidget *parent = nullptr);

    // The list as text, one repair a line, then how many more were not listed.
    static QString describe(const QList<TolerantSubtitleReader::Repair> &repairs, qsizetype unlistedRepairs);

private:
    QPlainTextEdit *m_text;
};
