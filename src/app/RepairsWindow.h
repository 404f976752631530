#pragma once

#include "format/TolerantSubtitleReader.h"

#include <QDialog>

class QPlainTextEdit;

// The list of what a repairing read mended, one line each ("Line 12: …"), shown once
// after opening; the text can be selected and copied.
class RepairsWindow : public QDialog
{
    Q_OBJECT

public:
    RepairsWindow(const QString &fileName, const QList<TolerantSubtitleReader::Repair> &repairs, QWidget *parent = nullptr);

    // The list as text, one repair a line.
    static QString describe(const QList<TolerantSubtitleReader::Repair> &repairs);

private:
    QPlainTextEdit *m_text;
};
